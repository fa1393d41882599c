// Serves a static folder on loopback: node serve.mjs DIR [--port N]
// Prints the URL once listening. No logic beyond files and their types.
import { createReadStream, statSync } from 'node:fs';
import { createServer } from 'node:http';
import { extname, join, normalize, resolve, sep } from 'node:path';

const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8', '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm', '.png': 'image/png', '.svg': 'image/svg+xml', '.ico': 'image/x-icon',
};

export function serve(dir, port = 8080, host = '127.0.0.1') {
  const base = resolve(dir);
  const server = createServer((request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    let file = normalize(join(base, path.endsWith('/') ? path + 'index.html' : path));
    if (file !== base && !file.startsWith(base + sep)) file = '';
    let size = -1;
    try {
      const stat = file ? statSync(file) : null;
      if (stat?.isFile()) size = stat.size;
    } catch { /* missing */ }
    if (size < 0 || (request.method !== 'GET' && request.method !== 'HEAD')) {
      response.writeHead(size < 0 ? 404 : 405, { 'content-type': 'text/plain' }).end(size < 0 ? 'not found' : 'no');
      return;
    }
    response.writeHead(200, {
      'content-type': types[extname(file)] ?? 'application/octet-stream',
      'content-length': size,
      'cache-control': 'no-cache',
    });
    if (request.method === 'HEAD') response.end();
    else createReadStream(file).pipe(response);
  });
  return new Promise((done, fail) => {
    server.once('error', fail);
    server.listen(port, host, () => done(server));
  });
}

if (import.meta.url === `file://${process.argv[1]}`) {
  const args = process.argv.slice(2);
  const at = args.indexOf('--port');
  const port = at >= 0 ? Number(args[at + 1]) : 8080;
  const dir = args.find((a, i) => !a.startsWith('--') && args[i - 1] !== '--port') ?? '.';
  const server = await serve(dir, port);
  console.log(`Orvista: http://127.0.0.1:${server.address().port}/`);
}
