#!/usr/bin/env python3
"""The browser version's page as scripts/assemble-web puts it together, around a stand-in
program (two files of bytes: the page never reads them), and as scripts/serve-web serves it.

    check_page.py SOURCE_FOLDER
"""
import json
import os
import pathlib
import re
import struct
import subprocess
import sys
import tempfile
import time
import urllib.error
import urllib.request

source = pathlib.Path(sys.argv[1]).resolve()
assemble = source / 'scripts' / 'assemble-web'
failures = []
passed = 0


def check(name, ok, detail=None):
    global passed
    if ok:
        passed += 1
        return
    failures.append(name)
    print(f'FAIL: {name}' + ('' if detail is None else f' ({detail})'))


def run_assemble(build, out):
    subprocess.run([str(assemble), str(build), str(out)], check=True, stdout=subprocess.DEVNULL)


def sw_version_and_files(out):
    text = (out / 'sw.js').read_text()
    version = re.search(r'^const VERSION = "([0-9a-f]{16})";$', text, re.M)
    files = re.search(r'^const FILES = (\[.*\]);$', text, re.M)
    return (version.group(1) if version else None), (json.loads(files.group(1)) if files else [])


def dates(out):
    return {p.name: p.stat().st_mtime_ns for p in out.iterdir() if p.is_file()}


def png_size(path):
    data = path.read_bytes()
    if data[:8] != b'\x89PNG\r\n\x1a\n' or data[12:16] != b'IHDR':
        return None
    return struct.unpack('>II', data[16:24])


with tempfile.TemporaryDirectory() as scratch:
    scratch = pathlib.Path(scratch)
    build, out = scratch / 'build', scratch / 'out'
    (build / 'app').mkdir(parents=True)
    (build / 'app' / 'clearmark.js').write_text('// the program\n')
    (build / 'app' / 'clearmark.wasm').write_bytes(b'\0asm\1\0\0\0')
    run_assemble(build, out)
    version, files = sw_version_and_files(out)

    # The service worker keeps every file of the page, and nothing that is not there.
    check('sw.js has its version written in', version is not None)
    on_disk = sorted(p.name for p in out.iterdir() if p.is_file())
    check('sw.js lists every file of the page but itself', sorted(files + ['sw.js']) == on_disk,
          f'{files} against {on_disk}')
    check('no placeholder is left in sw.js', '@' not in (out / 'sw.js').read_text().split('\n', 4)[4])

    # What the page names is there, with the sizes it declares.
    manifest = json.loads((out / 'manifest.webmanifest').read_text())
    for key, value in (('name', 'Clearmark'), ('short_name', 'Clearmark'), ('start_url', '.'),
                       ('scope', '.'), ('display', 'standalone')):
        check(f'the manifest\'s {key} is {value}', manifest.get(key) == value, manifest.get(key))
    purposes = set()
    for icon in manifest.get('icons', []):
        width, height = (int(n) for n in icon['sizes'].split('x'))
        size = png_size(out / icon['src']) if (out / icon['src']).exists() else None
        check(f'the icon {icon["src"]} is a PNG of {icon["sizes"]}', size == (width, height), size)
        check(f'the icon {icon["src"]} is kept by the service worker', icon['src'] in files)
        purposes.add((width, icon.get('purpose', 'any')))
    for wanted in ((192, 'any'), (512, 'any'), (512, 'maskable')):
        check(f'the manifest has a {wanted[0]} pixel icon for {wanted[1]}', wanted in purposes)
    page = (out / 'index.html').read_text()
    for link in re.findall(r'<link [^>]*href="([^"]+)"', page):
        check(f'index.html links {link}, which is kept', link in files)
    for element in ('<div id="desktop"></div>', '<div id="printout"></div>', '<noscript>'):
        check(f'index.html has {element}', element in page)
    check('#ended starts hidden', re.search(r'<div id="ended"[^>]* hidden[ >]', page) is not None)
    module, program = page.find('var Module = {'), page.find('<script src="clearmark.js" async')
    check('Module is set before the program loads', 0 <= module < program, (module, program))

    # Again with nothing changed: nothing is written, the version stays.
    before = dates(out)
    time.sleep(0.02)
    run_assemble(build, out)
    check('a second run writes nothing', dates(out) == before,
          sorted(k for k in before if dates(out)[k] != before[k]))
    check('a second run keeps the version', sw_version_and_files(out)[0] == version)

    # A new program: a new version, and only the program and sw.js are written.
    (build / 'app' / 'clearmark.wasm').write_bytes(b'\0asm\1\0\0\0\1')
    run_assemble(build, out)
    after = dates(out)
    check('a changed program changes the version', sw_version_and_files(out)[0] not in (None, version))
    check('a changed program rewrites it and sw.js only',
          sorted(k for k in after if after[k] != before[k]) == ['clearmark.wasm', 'sw.js'],
          sorted(k for k in after if after[k] != before[k]))

    # Served: the media types browsers insist on, no-cache, and nothing but the page's files.
    (out / 'cmake').mkdir()
    (out / 'cmake' / 'CMakeCache.txt').write_text('not for the browser')
    server = subprocess.Popen([str(source / 'scripts' / 'serve-web'), str(out), '0'],
                              stdout=subprocess.PIPE, text=True,
                              env={**os.environ, 'SERVE_WEB_QUIET': '1'})
    try:
        address = re.search(r'http://127\.0\.0\.1:\d+/', server.stdout.readline()).group(0)

        def get(path):
            try:
                with urllib.request.urlopen(address + path, timeout=10) as answer:
                    return answer.status, answer.headers.get('Content-Type'), \
                        answer.headers.get('Cache-Control'), answer.read()
            except urllib.error.HTTPError as error:
                return error.code, None, None, b''

        for path, status, media in (('', 200, 'text/html; charset=utf-8'),
                                    ('?source=home', 200, 'text/html; charset=utf-8'),
                                    ('clearmark.wasm', 200, 'application/wasm'),
                                    ('manifest.webmanifest', 200, 'application/manifest+json'),
                                    ('sw.js', 200, 'text/javascript; charset=utf-8'),
                                    ('icon-512.png', 200, 'image/png'),
                                    ('cmake/CMakeCache.txt', 404, None),
                                    ('cmake/', 404, None),
                                    ('../out/sw.js', 404, None)):
            got = get(path)
            check(f'/{path} is served {status} {media or ""}', got[:2] == (status, media), got[:2])
            if status == 200:
                check(f'/{path} is served no-cache', got[2] == 'no-cache', got[2])
        check('/clearmark.wasm is the program', get('clearmark.wasm')[3] == b'\0asm\1\0\0\0\1')
    finally:
        server.terminate()
        server.wait()

print(f'page check: {passed} passed, {len(failures)} failed')
sys.exit(1 if failures else 0)
