// A picture file as the browser decodes it: RGBA pixels exactly as stored
// (no colour management, no premultiplied alpha), with the file's own colour
// table when it has one.

import { colourTable } from './colour_table.ts';
import { t } from './i18n.ts';
import { Refusal, type DecodedPicture } from './orv.ts';

// As the command line: sides are 16-bit counts, and the grid stays below 256 MiB.
const MAX_SIDE = 32767;
const MAX_PIXELS = 2 ** 26;

export async function decodePictureFile(file: Blob, name: string): Promise<DecodedPicture> {
  // The bytes (for the colour table) and the pixels at once.
  const [bytes, bitmap] = await Promise.all([
    file.arrayBuffer().then((buffer) => new Uint8Array(buffer)),
    createImageBitmap(file, { colorSpaceConversion: 'none', premultiplyAlpha: 'none', imageOrientation: 'from-image' })
      .catch(() => {
        throw new Refusal(t('picture.unreadable', { name }));
      }),
  ]);
  const { width, height } = bitmap;
  if (width > MAX_SIDE || height > MAX_SIDE || width * height > MAX_PIXELS) {
    bitmap.close();
    throw new Refusal(t('picture.tooLarge', { name }));
  }
  const canvas = new OffscreenCanvas(width, height);
  const context = canvas.getContext('2d', { willReadFrequently: true, colorSpace: 'srgb' });
  if (!context) throw new Error('no 2D canvas');
  context.drawImage(bitmap, 0, 0);
  bitmap.close();
  const rgba = context.getImageData(0, 0, width, height, { colorSpace: 'srgb' }).data;
  return { width, height, rgba, colourTable: colourTable(bytes) };
}
