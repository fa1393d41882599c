// Shades drawn in a slot's colours, one canvas pixel per picture pixel; CSS
// scales the canvas with image-rendering: pixelated.

import type { Shades } from './orv.ts';

// The gallery's and the detail's box: the games' largest picture, 7 x 7 tiles.
export const BOX = 56;

const rgbOf = (colours: readonly [number, number]) => [0xffffff, colours[0] & 0xffffff, colours[1] & 0xffffff, 0];

// Shades 0..3 in the colours white, colour 1, colour 2, black, as RGBA.
export function shadePixels(picture: Shades, colours: readonly [number, number]): ImageData {
  const rgb = rgbOf(colours);
  const data = new Uint8ClampedArray(picture.width * picture.height * 4);
  const words = new Uint32Array(data.buffer);
  // Little-endian words: A B G R.
  const abgr = rgb.map((c) => (0xff000000 | (c & 0xff) << 16 | (c & 0xff00) | (c >> 16 & 0xff)) >>> 0);
  for (let i = 0; i < picture.shades.length; i++) words[i] = abgr[picture.shades[i] & 3];
  return new ImageData(data, picture.width, picture.height);
}

// The picture at the bottom centre of a BOX x BOX canvas (larger pictures
// widen it), as the games place a picture in its frame.
export function drawPicture(canvas: HTMLCanvasElement, picture: Shades | null, colours: readonly [number, number]) {
  const width = Math.max(BOX, picture?.width ?? 0), height = Math.max(BOX, picture?.height ?? 0);
  if (canvas.width !== width) canvas.width = width;
  if (canvas.height !== height) canvas.height = height;
  const context = canvas.getContext('2d')!;
  context.clearRect(0, 0, width, height);
  canvas.classList.toggle('missing', !picture);
  if (!picture) return;
  context.putImageData(shadePixels(picture, colours), (width - picture.width) >> 1, height - picture.height);
}
