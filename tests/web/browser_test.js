// The web build against the native one, in Debian's headless Chromium.
//
//   node browser_test.js replays WEB_DIR VOLTARO GAME_DIR REPLAY_DIR
//     Plays every sample replay in the page for a few hundred frames and
//     compares the picture at several frames, pixel for pixel, with the
//     native build's --screenshot of the same replay and frame.
//   node browser_test.js keys WEB_DIR VOLTARO GAME_DIR REPLAY_DIR
//     Presses real keys in the page (through the browser's input), records
//     them with ?record, and checks that the native build replaying that
//     log shows the same pictures at the same frames.
//
// WEB_DIR holds voltaro.html and what `make web` built; VOLTARO is the
// native executable. The page is served from 127.0.0.1 by this script.
// Exit status: 0 passed, 1 failed, 77 skipped (no Chromium).
'use strict';

const childProcess = require('child_process');
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');

const SKIP = 77;
const CHROMIUM = process.env.VOLTARO_CHROMIUM || '/usr/bin/chromium';
// Chromium on a machine without a network: no sandbox (root in CI), no GPU,
// and none of the background services that would keep calling out.
const CHROMIUM_FLAGS = ['--headless=new', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
                        '--disable-background-networking', '--disable-component-update', '--disable-sync'];
const WIDTH = 256;
const HEIGHT = 240;

// Frames whose pictures are compared in every replay: the menu after the
// first choices, the level's ready message and beam, then play.
const REPLAY_FRAMES = [3, 120, 260, 400, 500];

// Thrown by fail(): a test failure, as opposed to a fault of the script.
class Failure extends Error {}

function fail(message) {
  throw new Failure(message);
}

// Serves the files of `root` (and nothing outside it) on 127.0.0.1.
function serve(root) {
  const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
                  '.data': 'application/octet-stream' };
  const server = http.createServer((request, response) => {
    const name = path.normalize(decodeURIComponent(new URL(request.url, 'http://localhost').pathname));
    const file = path.join(root, name);
    if (request.method !== 'GET' || !file.startsWith(root + path.sep)) {
      response.writeHead(404);
      response.end();
      return;
    }
    fs.readFile(file, (error, data) => {
      if (error) {
        response.writeHead(404);
        response.end();
        return;
      }
      response.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream' });
      response.end(data);
    });
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

// The RGB pixels of a BMP written by the native build (24 or 32 bits,
// rows bottom-up or top-down), as 3 bytes per pixel, rows top-down.
function readBmpRgb(file) {
  const bytes = fs.readFileSync(file);
  if (bytes.toString('latin1', 0, 2) !== 'BM') fail(file + ' is not a BMP');
  const offset = bytes.readUInt32LE(10);
  const width = bytes.readInt32LE(18);
  const height = bytes.readInt32LE(22);
  const bytesPerPixel = bytes.readUInt16LE(28) / 8;
  if (width !== WIDTH || Math.abs(height) !== HEIGHT || (bytesPerPixel !== 3 && bytesPerPixel !== 4)) {
    fail(`${file}: a ${width}x${height} picture of ${bytesPerPixel * 8} bits, expected ${WIDTH}x${HEIGHT}`);
  }
  const stride = (width * bytesPerPixel + 3) & ~3;
  const rgb = Buffer.alloc(WIDTH * HEIGHT * 3);
  for (let y = 0; y < HEIGHT; ++y) {
    const row = offset + (height > 0 ? HEIGHT - 1 - y : y) * stride;
    for (let x = 0; x < WIDTH; ++x) {
      const source = row + x * bytesPerPixel;  // blue, green, red
      const target = (y * WIDTH + x) * 3;
      rgb[target] = bytes[source + 2];
      rgb[target + 1] = bytes[source + 1];
      rgb[target + 2] = bytes[source];
    }
  }
  return rgb;
}

// Compares the page's RGBA picture with the native RGB one; returns null
// when they are the same, else a description of the difference.
function difference(pageRgba, nativeRgb) {
  if (pageRgba.length !== WIDTH * HEIGHT * 4) return `the page's picture has ${pageRgba.length} bytes`;
  let count = 0;
  let first = '';
  for (let i = 0; i < WIDTH * HEIGHT; ++i) {
    const page = [pageRgba[i * 4], pageRgba[i * 4 + 1], pageRgba[i * 4 + 2]];
    const native = [nativeRgb[i * 3], nativeRgb[i * 3 + 1], nativeRgb[i * 3 + 2]];
    if (page.every((value, c) => value === native[c])) continue;
    if (count++ === 0) first = `first at (${i % WIDTH}, ${Math.floor(i / WIDTH)}): page ${page}, native ${native}`;
  }
  return count === 0 ? null : `${count} pixels differ, ${first}`;
}

// Writes a picture as a PPM beside the test's output, for a look at a failure.
function keepForInspection(directory, name, rgb) {
  const header = Buffer.from(`P6\n${WIDTH} ${HEIGHT}\n255\n`, 'latin1');
  fs.writeFileSync(path.join(directory, name + '.ppm'), Buffer.concat([header, rgb]));
}

function rgbaToRgb(rgba) {
  const rgb = Buffer.alloc(WIDTH * HEIGHT * 3);
  for (let i = 0; i < WIDTH * HEIGHT; ++i) rgba.copy(rgb, i * 3, i * 4, i * 4 + 3);
  return rgb;
}

// The native build's pictures of `frames` for a replay, by frame.
function nativePictures(settings, work, log, frames) {
  const args = ['--headless', '--data', settings.game, '--replay', log, '--frames', String(Math.max(...frames))];
  for (const frame of frames) args.push('--screenshot', `${frame}:${path.join(work, 'native-' + frame + '.bmp')}`);
  const run = childProcess.spawnSync(settings.voltaro, args, { encoding: 'utf8' });
  if (run.status !== 0) fail(`${settings.voltaro} ${args.join(' ')} exited ${run.status}: ${run.stderr}`);
  const pictures = {};
  for (const frame of frames) pictures[frame] = readBmpRgb(path.join(work, 'native-' + frame + '.bmp'));
  return pictures;
}

// Opens the page with `query` and waits until its run has ended.
async function playPage(browser, origin, query, whilePlaying) {
  const page = await browser.newPage();
  const messages = [];
  page.on('console', (message) => messages.push(message.text()));
  page.on('pageerror', (error) => messages.push('page error: ' + error.message));
  await page.goto(`${origin}/voltaro.html?${query}`);
  if (whilePlaying) await whilePlaying(page);
  try {
    await page.waitForFunction('window.voltaro && window.voltaro.ended', { timeout: 120000, polling: 100 });
  } catch (error) {
    fail(`?${query} did not end: ${error.message}\n${messages.join('\n')}`);
  }
  const status = await page.evaluate('voltaro.status');
  if (status !== 0) fail(`?${query} ended with status ${status}:\n${messages.join('\n')}`);
  return page;
}

async function pagePicture(page, name) {
  const picture = await page.evaluate((n) => voltaro.screenshot(n), name);
  if (picture === null) fail(`the page kept no picture "${name}"`);
  return Buffer.from(picture, 'base64');
}

// Compares the page's kept pictures with the native ones; returns the failures.
async function compare(page, label, frames, native, work) {
  const failures = [];
  for (const frame of frames) {
    const picture = await pagePicture(page, 'frame' + frame);
    const problem = difference(picture, native[frame]);
    if (problem === null) continue;
    failures.push(`${label}, frame ${frame}: ${problem}`);
    keepForInspection(work, `${label}-${frame}-page`, rgbaToRgb(picture));
    keepForInspection(work, `${label}-${frame}-native`, native[frame]);
  }
  return failures;
}

function screenshotQuery(frames) {
  return frames.map((frame) => `screenshot=${frame}:frame${frame}`).join('&');
}

async function replays(browser, origin, settings, work) {
  const logs = fs.readdirSync(settings.replays).filter((name) => name.endsWith('.log')).sort();
  if (logs.length === 0) fail('no replays in ' + settings.replays);
  const last = Math.max(...REPLAY_FRAMES);
  const failures = [];
  for (const log of logs) {
    const native = nativePictures(settings, work, path.join(settings.replays, log), REPLAY_FRAMES);
    const page = await playPage(browser, origin, `replay=${log}&frames=${last}&${screenshotQuery(REPLAY_FRAMES)}`);
    const found = await compare(page, path.basename(log, '.log'), REPLAY_FRAMES, native, work);
    await page.close();
    console.log(`${log}: frames ${REPLAY_FRAMES.join(', ')} ${found.length === 0 ? 'identical' : 'DIFFER'}`);
    failures.push(...found);
  }
  if (failures.length > 0) fail(failures.join('\n') + `\n(pictures kept in ${work})`);
  console.log(`PASS: ${logs.length} replays, ${REPLAY_FRAMES.length} frames each, pixel for pixel`);
}

// Live keys: through the stage select into the first level, then walk
// right and jump. Each step waits for a frame so the run stays on course
// however fast the machine is.
const KEY_FRAMES = [30, 120, 300, 360, 420];

async function untilFrame(page, frame) {
  await page.waitForFunction((f) => voltaro.frame >= f || voltaro.ended, { timeout: 60000, polling: 'raf' }, frame);
}

async function pressKeys(page) {
  const tap = async (key) => {
    await page.keyboard.down(key);
    await new Promise((resolve) => setTimeout(resolve, 60));
    await page.keyboard.up(key);
  };
  await untilFrame(page, 10);
  await tap('ArrowDown');   // the cursor to the second level
  await untilFrame(page, 40);
  await tap('KeyB');        // choose it
  await untilFrame(page, 60);
  await tap('KeyB');        // and the first character
  await untilFrame(page, 250);
  await page.keyboard.down('ArrowRight');
  await untilFrame(page, 320);
  await page.keyboard.down('Space');
  await untilFrame(page, 345);
  await page.keyboard.up('Space');
  await untilFrame(page, 390);
  await page.keyboard.up('ArrowRight');
}

async function keys(browser, origin, settings, work) {
  const last = Math.max(...KEY_FRAMES);
  const page = await playPage(browser, origin, `record=live.log&frames=${last}&${screenshotQuery(KEY_FRAMES)}`,
                              pressKeys);
  const log = Buffer.from(await page.evaluate(() => voltaro.file('live.log')), 'base64').toString('utf8');
  const logFile = path.join(work, 'live.log');
  fs.writeFileSync(logFile, log);
  for (const pressed of ['down down', 'b down', 'right down', 'space down', 'space up', 'right up']) {
    if (!new RegExp(`^\\d+ ${pressed}$`, 'm').test(log)) fail(`the page never saw "${pressed}"; its log:\n${log}`);
  }
  const native = nativePictures(settings, work, logFile, KEY_FRAMES);
  const failures = await compare(page, 'keys', KEY_FRAMES, native, work);
  if (failures.length > 0) fail(failures.join('\n') + `\n(the log and pictures are in ${work})`);

  // The presses made the difference: without them the last picture is another.
  const idleLog = path.join(work, 'idle.log');
  fs.writeFileSync(idleLog, '');
  const idle = nativePictures(settings, work, idleLog, [last]);
  if (difference(await pagePicture(page, 'frame' + last), idle[last]) === null) {
    fail('the picture after the key presses is the same as without them');
  }
  console.log(`PASS: live keys reached the game; frames ${KEY_FRAMES.join(', ')} match the native replay of their log`);
}

async function main() {
  const [mode, webDir, voltaro, game, replayDir] = process.argv.slice(2);
  if (!['replays', 'keys'].includes(mode) || !replayDir) {
    console.error('usage: node browser_test.js replays|keys WEB_DIR VOLTARO GAME_DIR REPLAY_DIR');
    process.exit(2);
  }
  if (!fs.existsSync(CHROMIUM)) {
    console.log(`SKIP: no Chromium at ${CHROMIUM} (make test installs Debian's chromium)`);
    process.exit(SKIP);
  }
  const settings = { web: path.resolve(webDir), voltaro: path.resolve(voltaro), game: path.resolve(game),
                     replays: path.resolve(replayDir) };
  for (const file of ['voltaro.html', 'voltaro.js', 'voltaro.wasm', 'voltaro.data']) {
    if (!fs.existsSync(path.join(settings.web, file))) fail(`${settings.web}/${file} is missing: build it with make web`);
  }
  let puppeteer;
  try {
    puppeteer = require('puppeteer-core');
  } catch (error) {
    fail('puppeteer-core is not installed: run npm ci in tests/web (make test does)');
  }

  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'voltaro-web-'));
  const server = await serve(settings.web);
  const browser = await puppeteer.launch({ executablePath: CHROMIUM, userDataDir: path.join(work, 'profile'),
                                           args: CHROMIUM_FLAGS });
  let passed = false;
  try {
    const origin = `http://127.0.0.1:${server.address().port}`;
    await (mode === 'replays' ? replays : keys)(browser, origin, settings, work);
    passed = true;
  } finally {
    await browser.close();
    server.close();
    // A failure keeps the pictures and the log for a look.
    if (passed) fs.rmSync(work, { recursive: true, force: true });
  }
}

main().catch((error) => {
  console.error('FAIL: ' + (error instanceof Failure ? error.message : error.stack || String(error)));
  process.exitCode = 1;
});
