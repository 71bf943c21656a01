// A static file server on 127.0.0.1 for the browser tests: the web build at /, other folders
// at the paths given, each file with its type (WebAssembly as application/wasm, which
// streaming compilation needs) and never cached by the browser's HTTP cache, so a reload
// meets what the service worker holds, not an old copy. Prints "listening PORT" once it
// accepts connections, on a port the system picked free.
//   node serve.js ROOT [/PATH=FOLDER ...]
'use strict';
const http = require('node:http');
const fs = require('node:fs');
const path = require('node:path');

const TYPES = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.json': 'application/json',
  '.webmanifest': 'application/manifest+json',
  '.css': 'text/css; charset=utf-8',
  '.png': 'image/png',
  '.svg': 'image/svg+xml',
  '.ico': 'image/x-icon',
  '.data': 'application/octet-stream',
  '.txt': 'text/plain; charset=utf-8',
};

const [root, ...mountArgs] = process.argv.slice(2);
if (!root) {
  console.error('usage: serve.js ROOT [/PATH=FOLDER ...]');
  process.exit(2);
}
// The longest prefix first, so /a/b is found before /a and / .
const mounts = mountArgs
  .map((arg) => {
    const at = arg.indexOf('=');
    return { prefix: arg.slice(0, at).replace(/\/?$/, '/'), folder: path.resolve(arg.slice(at + 1)) };
  })
  .concat([{ prefix: '/', folder: path.resolve(root) }])
  .sort((a, b) => b.prefix.length - a.prefix.length);

function fileFor(urlPath) {
  const mount = mounts.find((m) => urlPath.startsWith(m.prefix));
  const inside = path.normalize(urlPath.slice(mount.prefix.length)).replace(/^(\.\.(\/|$))+/, '');
  const file = path.join(mount.folder, inside);
  if (file !== mount.folder && !file.startsWith(mount.folder + path.sep)) return null;
  return file;
}

const server = http.createServer((request, response) => {
  let urlPath;
  try {
    urlPath = decodeURIComponent(new URL(request.url, 'http://127.0.0.1').pathname);
  } catch {
    response.writeHead(400).end();
    return;
  }
  let file = fileFor(urlPath);
  if (file && fs.existsSync(file) && fs.statSync(file).isDirectory()) file = path.join(file, 'index.html');
  if (!file || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
    response.writeHead(404, { 'Content-Type': 'text/plain' }).end('not found\n');
    return;
  }
  const body = fs.readFileSync(file);
  response.writeHead(200, {
    'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream',
    'Content-Length': body.length,
    'Cache-Control': 'no-cache',
  });
  response.end(request.method === 'HEAD' ? undefined : body);
});
server.listen(0, '127.0.0.1', () => console.log(`listening ${server.address().port}`));
