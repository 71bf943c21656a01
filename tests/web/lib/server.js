// A server of the web build of its own (lib/serve.js), for a test that takes it away.
'use strict';
const { spawn } = require('node:child_process');
const path = require('node:path');

const ROOT = process.env.CLEARMARK_WEB_ROOT || path.join(__dirname, '..', '..', '..', 'build-web');

function startServer(root = ROOT) {
  return new Promise((resolve, reject) => {
    const child = spawn(process.execPath, [path.join(__dirname, 'serve.js'), root], { stdio: ['ignore', 'pipe', 'inherit'] });
    let out = '';
    child.stdout.on('data', (chunk) => {
      out += chunk;
      const port = /listening (\d+)/.exec(out)?.[1];
      if (port)
        resolve({
          url: `http://127.0.0.1:${port}/`,
          stop: () =>
            new Promise((done) => {
              if (child.exitCode !== null || child.signalCode !== null) return done();
              child.once('exit', done);
              child.kill();
            }),
        });
    });
    child.once('exit', (code) => reject(new Error(`the server ended (${code}) before it listened`)));
  });
}

module.exports = { startServer };
