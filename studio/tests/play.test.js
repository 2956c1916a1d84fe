// Play on a device, in headless Chromium, against a fake device behind the
// ADB transport (fake-device.js): the real ADB and scrcpy clients, control
// serializer and video decoder run above it. The device's stream is real
// H.264 made by Debian's ffmpeg into the build tree; the server file is one
// the test writes, carrying a version as a real one does.
//
// Needs STUDIO_SITE and KEYWEAVE as studio.test.js does; the streams go to
// build/studio/play-streams.

import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';
import { after, before, test } from 'node:test';
import { chromium } from 'playwright-core';
import { KeyBytes } from '../play/android-keys.js';
import { serve } from './serve.js';

const root = path.resolve(path.dirname(new URL(import.meta.url).pathname), '../..');
const site = process.env.STUDIO_SITE || path.join(root, 'build/studio/site');
const keyweave = process.env.KEYWEAVE || path.join(root, 'build/native/tools/keyweave/keyweave');
const shots = process.env.STUDIO_SHOTS || path.join(root, 'build/studio/screenshots');
const streams = path.join(root, 'build/studio/play-streams');
const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'play-test-'));

let server, browser;
const figures = {};

// A short test picture as the device's screen: one second at 60 pictures a
// second, made once.
function stream(width, height, seconds = 1) {
  const file = path.join(streams, `${width}x${height}.h264`);
  if (!fs.existsSync(file)) {
    fs.mkdirSync(streams, { recursive: true });
    execFileSync('ffmpeg', ['-loglevel', 'error', '-y', '-f', 'lavfi', '-i', `testsrc=size=${width}x${height}:rate=60`,
      '-t', String(seconds), '-pix_fmt', 'yuv420p', '-c:v', 'libx264', '-preset', 'veryfast', '-profile:v', 'baseline',
      '-f', 'h264', file]);
  }
  return { stream: fs.readFileSync(file).toString('base64'), width, height };
}

// A scrcpy server file as far as the page and the fake device look into
// it: a jar whose classes.dex names the server's version where the server's
// own refusal of another client names it.
function serverFile(version, deflate) {
  const dex = Buffer.from(`dex\n035\0...The server version (${version}) does not match the client (...`, 'latin1');
  const data = deflate ? zlib.deflateRawSync(dex) : dex;
  const name = Buffer.from('classes.dex');
  const local = Buffer.alloc(30);
  local.writeUInt32LE(0x04034b50, 0);
  local.writeUInt16LE(deflate ? 8 : 0, 8);
  local.writeUInt32LE(data.length, 18);
  local.writeUInt32LE(dex.length, 22);
  local.writeUInt16LE(name.length, 26);
  const central = Buffer.alloc(46);
  central.writeUInt32LE(0x02014b50, 0);
  central.writeUInt16LE(deflate ? 8 : 0, 10);
  central.writeUInt32LE(data.length, 20);
  central.writeUInt32LE(dex.length, 24);
  central.writeUInt16LE(name.length, 28);
  const end = Buffer.alloc(22);
  end.writeUInt32LE(0x06054b50, 0);
  end.writeUInt16LE(1, 8);
  end.writeUInt16LE(1, 10);
  end.writeUInt32LE(46 + name.length, 12);
  end.writeUInt32LE(30 + name.length + data.length, 16);
  const file = path.join(scratch, `scrcpy-server-${version}${deflate ? '-deflated' : ''}`);
  fs.writeFileSync(file, Buffer.concat([local, name, data, central, name, end]));
  return file;
}

// A page with the Studio, the fake device's script and, before anything
// loads, what the test puts in the browser (`init`).
async function studioPage(init, argument) {
  const page = await browser.newPage({ viewport: { width: 1600, height: 1000 } });
  page.on('pageerror', (error) => { throw error; });
  if (init) await page.addInitScript(init, argument);
  await page.goto(`${server.url}/index.html`);
  await page.waitForFunction(() => window.studio?.ready === true);
  await page.addScriptTag({ path: path.join(root, 'studio/tests/fake-device.js') });
  return page;
}

const message = (page) => page.textContent('#play-message');

// A fake device with these screens plugged in; the page connects to it.
async function plugIn(page, screens, fps = 60) {
  await page.evaluate(({ screens, fps }) => {
    const bytes = (base64) => Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));
    const decoded = Object.fromEntries(Object.entries(screens).map(([name, s]) => [name, { ...s, stream: bytes(s.stream) }]));
    window.device = new window.FakeDevice({ screens: decoded, fps });
    window.studio.play.useTransport(async () => window.device.attach());
  }, { screens, fps });
}

async function startPlaying(page, screens, fps) {
  await plugIn(page, screens, fps);
  if (await page.getAttribute('#play-device', 'aria-pressed') !== 'true') await page.click('#play-device');
  await page.setInputFiles('#play-server', serverFile('3.3.3'));
  await page.waitForFunction(() => /kept for next time/.test(document.getElementById('play-message').textContent));
  await connect(page);
}

async function connect(page) {
  await page.click('#play-connect');
  await page.waitForFunction(() => /^(Playing on|Cannot|The)/.test(document.getElementById('play-message').textContent))
    .catch(async (error) => { throw new Error(`${error.message}; the page says "${await message(page)}"`); });
  assert.match(await message(page), /^Playing on/);
  await page.waitForFunction(() => window.studio.play.framesRendered() > 2);
}

const deviceMessages = (page) => page.evaluate(() => window.device.messages);

// The expected touches of a keyweave play timeline (JSON lines) on a screen
// of width x height pixels, as a touch screen takes them.
function expectedTouches(timeline, width, height) {
  const pixel = (percent, size) => Math.min(size - 1, Math.max(0, Math.round((percent / 100) * size)));
  const down = new Map();
  const touches = [];
  for (const event of timeline.filter((e) => e.event === 'touch')) {
    const last = down.get(event.slot);
    if (event.state === 'down' || event.state === 'move') {
      touches.push([event.slot, last ? 'move' : 'down', pixel(event.x, width), pixel(event.y, height)]);
      down.set(event.slot, event);
    } else if (last) {
      touches.push([event.slot, 'up', pixel(last.x, width), pixel(last.y, height)]);
      down.delete(event.slot);
    }
  }
  return touches;
}
// The pointers the device was left holding.
function stillDown(messages) {
  const down = new Set();
  for (const m of messages.filter((m) => m.type === 'touch')) {
    if (m.action === 1) down.delete(m.pointerId); else down.add(m.pointerId);
  }
  return [...down];
}
const ACTIONS = ['down', 'up', 'move'];
const touchesOf = (messages) => messages.filter((m) => m.type === 'touch').map((m) => [m.pointerId, ACTIONS[m.action], m.x, m.y]);

function playTimeline(keymap, script, screen) {
  fs.writeFileSync(path.join(scratch, 'game.cfg'), keymap);
  fs.writeFileSync(path.join(scratch, 'game.play'), script);
  fs.copyFileSync(path.join(root, 'examples/gamepads.db'), path.join(scratch, 'gamepads.db'));
  const out = execFileSync(keyweave, ['play', 'game.cfg', 'game.play', '--json', '--screen', screen],
    { cwd: scratch, encoding: 'utf8' });
  return out.trim().split('\n').map((line) => JSON.parse(line));
}

// Waits until the engine has nothing queued: every timed step was sent.
const settled = (page) => page.waitForFunction(() => window.studio.play.player.engine.liveNextDue() < 0);

const portrait = () => stream(720, 1600);

// Frames shown per second while W is held (the pad's glide is sent on
// timers) and the mouse looks around every frame, beside the frames the
// device sent (its own timers slip on a busy machine too).
async function framesPerSecond(page) {
  const overlay = await page.locator('#play-overlay').boundingBox();
  await page.mouse.click(overlay.x + overlay.width / 2, overlay.y + overlay.height / 2, { button: 'right' });
  await page.keyboard.down('KeyW');
  const result = await page.evaluate(async () => {
    const target = document.getElementById('play-overlay');
    const box = target.getBoundingClientRect();
    const start = performance.now();
    const frames = window.studio.play.framesRendered();
    const sent = window.device.framesSent;
    let n = 0;
    await new Promise((resolve) => {
      const frame = () => {
        ++n;
        target.dispatchEvent(new PointerEvent('pointermove', { bubbles: true, clientX: box.x + box.width * (0.5 + 0.1 * Math.cos(n / 10)),
          clientY: box.y + box.height * (0.5 + 0.1 * Math.sin(n / 10)) }));
        if (performance.now() - start < 3000) requestAnimationFrame(frame); else resolve();
      };
      requestAnimationFrame(frame);
    });
    const seconds = (performance.now() - start) / 1000;
    const rate = (count) => +(count / seconds).toFixed(1);
    return { shown: rate(window.studio.play.framesRendered() - frames), sent: rate(window.device.framesSent - sent) };
  });
  await page.keyboard.up('KeyW');
  await page.mouse.click(overlay.x + overlay.width / 2, overlay.y + overlay.height / 2, { button: 'right' });
  return result;
}


before(async () => {
  fs.mkdirSync(shots, { recursive: true });
  server = await serve(site);
  browser = await chromium.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox'] });
});

after(async () => {
  await browser?.close();
  server?.close();
  console.log(`play figures: ${JSON.stringify(figures)}`);
});

test('the fake device connected: its screen shows on the page, with the keymap over it', async () => {
  const page = await studioPage();
  await startPlaying(page, { portrait: portrait() });
  const box = await page.locator('#play-screen').boundingBox();
  assert.ok(Math.abs(box.width / box.height - 720 / 1600) < 0.01, `${box.width}x${box.height}`);
  await page.waitForFunction(() => window.studio.play.framesRendered() > 20);
  const png = await page.screenshot({ clip: box });
  fs.writeFileSync(path.join(shots, 'play-1-connected.png'), png);
  await page.screenshot({ path: path.join(shots, 'play-1-page.png'), fullPage: true });
  // The test picture's colour bars are in the screenshot: bright red, green
  // and blue areas, many colours, hardly any black.
  const seen = await page.evaluate(async (base64) => {
    const image = new Image();
    image.src = `data:image/png;base64,${base64}`;
    await image.decode();
    const canvas = new OffscreenCanvas(image.width, image.height);
    const context = canvas.getContext('2d');
    context.drawImage(image, 0, 0);
    const { data } = context.getImageData(0, 0, image.width, image.height);
    const colours = new Set();
    let red = 0, green = 0, blue = 0, black = 0;
    for (let i = 0; i < data.length; i += 4) {
      const [r, g, b] = [data[i], data[i + 1], data[i + 2]];
      colours.add((r >> 3) << 10 | (g >> 3) << 5 | b >> 3);
      if (r > 180 && g < 80 && b < 80) ++red;
      if (g > 180 && r < 80 && b < 80) ++green;
      if (b > 180 && r < 80 && g < 80) ++blue;
      if (r < 16 && g < 16 && b < 16) ++black;
    }
    return { colours: colours.size, red, green, blue, black, pixels: data.length / 4 };
  }, png.toString('base64'));
  assert.ok(seen.colours > 200, JSON.stringify(seen));
  for (const colour of ['red', 'green', 'blue']) assert.ok(seen[colour] > seen.pixels / 100, JSON.stringify(seen));
  assert.ok(seen.black < seen.pixels / 2, JSON.stringify(seen));
  // The keymap's bindings are drawn over it; a box hides them.
  assert.ok(await page.locator('#play-overlay g.binding').count() > 5);
  await page.uncheck('#play-show-overlay');
  assert.equal(await page.locator('#play-overlay g.binding').first().isVisible(), false);
  // The device is tall, the keymap was made for a wide screen: the page says so.
  assert.match(await page.textContent('#play-aspect'), /made for a 1920×1080 screen, and the device's is 720×1600 \(turned the other way\)/);
  await page.close();
});

test('keys, mouse and a pad reach the device as the touches and key events of keyweave play of the same script', async () => {
  const page = await studioPage(() => {
    window.fakePad = { id: 'Test pad (STANDARD GAMEPAD)', index: 0, mapping: 'standard', connected: true,
      axes: [0, 0, 0, 0], buttons: Array.from({ length: 17 }, () => ({ pressed: false, value: 0 })) };
    Object.defineProperty(navigator, 'getGamepads', { value: () => [window.fakePad, null, null, null] });
  });
  // The shooter's keymap with the pad's A on the jump button.
  await page.evaluate(() => window.studio.pasteText(`${window.studio.text()}\n[gamepad]\nA = Space\n`));
  await page.waitForFunction(() => window.studio.text().includes('A = Space'));
  await startPlaying(page, { portrait: portrait() });
  const box = await page.locator('#play-overlay').boundingBox();
  const at = (x, y) => [box.x + (box.width * x) / 100, box.y + (box.height * y) / 100];

  await page.keyboard.down('KeyW');  // the pad glides up
  await page.waitForTimeout(120);
  await page.keyboard.down('KeyD');
  await page.keyboard.up('KeyW');
  await page.keyboard.up('KeyD');
  await page.keyboard.press('KeyR');       // a tap
  await page.keyboard.press('KeyE');       // a tap on press and on release
  await page.keyboard.press('ArrowUp');    // no rule: its bytes go to the device as a key
  await page.keyboard.down('ShiftRight');  // Shift held over a forwarded key
  await page.keyboard.press('KeyK');
  await page.keyboard.up('ShiftRight');
  await page.mouse.move(...at(50, 50));
  await page.mouse.wheel(0, 120);  // a notch towards the player
  await page.mouse.click(...at(50, 50), { button: 'right' });  // mouse-look on: the page takes the pointer
  await page.waitForFunction(() => document.pointerLockElement?.id === 'play-overlay');
  await page.mouse.move(...at(60, 40), { steps: 4 });
  await page.mouse.down();   // fire
  await page.mouse.up();
  await page.mouse.click(...at(60, 40), { button: 'right' });  // mouse-look off: the pointer is free
  await page.waitForFunction(() => document.pointerLockElement === null);
  await page.evaluate(() => { window.fakePad.buttons[0] = { pressed: true, value: 1 }; });
  await page.waitForFunction(() => window.studio.play.player.pads.size === 1 &&
    window.device.messages.some((m) => m.type === 'touch' && m.x === 648 && m.y === 896));
  await page.evaluate(() => { window.fakePad.buttons[0] = { pressed: false, value: 0 }; });
  await page.waitForFunction(() => /0x0$/.test(window.studio.play.player.pads.get(1)));
  await settled(page);
  await page.screenshot({ path: path.join(shots, 'play-2-played.png'), fullPage: true });

  const script = await page.evaluate(() => window.studio.play.player.engine.liveScript());
  for (const word of ['press W', 'release D', 'press Up', 'press 0x36', 'tap MouseWheelDown', 'button right down', 'button left up',
    'pad attach 1 045e:028e gamepads.db', 'pad report 1 0 0 0 0 0 0 -1 0x1']) {
    assert.match(script, new RegExp(`^${word}$`, 'm'));
  }
  const timeline = playTimeline(await page.evaluate(() => window.studio.text()), script, '720x1600');
  const messages = await deviceMessages(page);
  const sent = touchesOf(messages);
  assert.ok(sent.length > 20, `${sent.length} touches`);
  assert.deepEqual(sent, expectedTouches(timeline, 720, 1600));
  assert.ok(messages.filter((m) => m.type === 'touch').every((m) => m.width === 720 && m.height === 1600));
  // The key bytes of the timeline, through the table, are the key events sent.
  const bytes = new KeyBytes();
  const keys = timeline.filter((e) => e.event === 'key').map((e) => bytes.feed(e.byte)).filter((k) => k?.keyCode)
    .map((k) => [k.down ? 0 : 1, k.keyCode, k.metaState]);
  const sentKeys = messages.filter((m) => m.type === 'key').map((m) => [m.action, m.keyCode, m.metaState]);
  assert.deepEqual(sentKeys, keys);
  // Up, then the right Shift around K: Android's own codes and meta state.
  assert.deepEqual(sentKeys.slice(0, 2), [[0, 19, 0], [1, 19, 0]]);
  assert.deepEqual(sentKeys.slice(2, 6), [[0, 60, 0x81], [0, 39, 0x81], [1, 39, 0x81], [1, 60, 0]]);
  await page.close();
});

test('unplugged with the pad and mouse-look held: the page says so, and after reconnecting nothing is held', async () => {
  const page = await studioPage();
  await startPlaying(page, { portrait: portrait() });
  const box = await page.locator('#play-overlay').boundingBox();
  await page.keyboard.down('KeyW');
  await page.mouse.click(box.x + box.width / 2, box.y + box.height / 2, { button: 'right' });
  await page.mouse.move(box.x + box.width * 0.6, box.y + box.height * 0.45, { steps: 3 });
  await page.waitForFunction(() => window.device.messages.filter((m) => m.type === 'touch' && m.action === 0).length >= 2);
  await page.evaluate(() => window.device.unplug());
  await page.waitForFunction(() => /device is gone/.test(document.getElementById('play-message').textContent));
  assert.match(await message(page), /Connect it again to go on: nothing is held/);
  await page.screenshot({ path: path.join(shots, 'play-3-unplugged.png'), fullPage: true });
  await page.keyboard.up('KeyW');  // let go while unplugged

  await plugIn(page, { portrait: portrait() });
  await connect(page);
  await page.keyboard.down('KeyD');
  // Held until the pad's finger has moved (the engine runs in real time here).
  await page.waitForFunction(() => window.device.messages.some((m) => m.type === 'touch' && m.action === 2));
  await page.keyboard.up('KeyD');
  await settled(page);
  const touches = touchesOf(await deviceMessages(page));
  // Only the pad's finger, for D alone: down at the centre, right, up.
  assert.deepEqual(touches[0], [15, 'down', 130, 1152]);
  assert.ok(touches.every(([pointer]) => pointer === 15), JSON.stringify(touches));
  assert.ok(touches.some(([, action, x]) => action === 'move' && x > 130));
  assert.equal(touches.at(-1)[1], 'up');

  // Disconnecting with the pad and mouse-look held lifts every finger.
  await page.keyboard.down('KeyW');
  await page.mouse.click(box.x + box.width / 2, box.y + box.height / 2, { button: 'right' });
  await page.waitForFunction(() => new Set(window.device.messages.filter((m) => m.type === 'touch' && m.action === 0)
    .map((m) => m.pointerId)).size >= 2);
  await page.evaluate(() => document.exitPointerLock());  // the player's Esc frees the pointer
  await page.click('#play-disconnect');
  await page.waitForFunction(() => document.getElementById('play-message').textContent === 'Disconnected');
  assert.deepEqual(stillDown(await deviceMessages(page)), []);
  await page.keyboard.up('KeyW');
  await page.close();
});

test('faults: no WebUSB, a device another program holds, authorisation, a server of another version', async () => {
  const noUsb = await studioPage(() => { Object.defineProperty(Navigator.prototype, 'usb', { get: () => undefined }); });
  await noUsb.click('#play-device');
  assert.match(await message(noUsb), /^Cannot play on a device in this browser: it has no WebUSB\. Chrome, Edge/);
  await noUsb.close();

  // A USB device whose ADB interface is claimed by another program.
  const busy = await studioPage(() => {
    const alternate = { alternateSetting: 0, interfaceClass: 0xff, interfaceSubclass: 0x42, interfaceProtocol: 1,
      endpoints: [{ direction: 'in', endpointNumber: 1, packetSize: 512 }, { direction: 'out', endpointNumber: 1, packetSize: 512 }] };
    const configuration = { configurationValue: 1, interfaces: [{ interfaceNumber: 0, claimed: false, alternate, alternates: [alternate] }] };
    const device = { serialNumber: 'BUSY01', vendorId: 0x18d1, productId: 0x4ee7, productName: 'Phone', opened: false,
      configuration, configurations: [configuration],
      open: async () => { device.opened = true; },
      claimInterface: async () => { throw new DOMException('Unable to claim interface.', 'NetworkError'); } };
    const usb = new EventTarget();
    usb.requestDevice = async () => device;
    usb.getDevices = async () => [device];
    Object.defineProperty(Navigator.prototype, 'usb', { get: () => usb });
    window.USBConnectionEvent = class extends Event { constructor(type, init) { super(type); this.device = init.device; } };
  });
  await busy.click('#play-device');
  await busy.setInputFiles('#play-server', serverFile('3.3.3'));
  await busy.waitForFunction(() => /kept/.test(document.getElementById('play-message').textContent));
  await busy.click('#play-connect');
  await busy.waitForFunction(() => /another program holds it/.test(document.getElementById('play-message').textContent));
  assert.match(await message(busy), /adb kill-server/);
  await busy.close();

  const page = await studioPage();
  await page.click('#play-device');
  await page.click('#play-connect');  // no server chosen yet
  assert.match(await message(page), /^Choose the scrcpy-server file first/);
  await page.setInputFiles('#play-server', serverFile('1.25', true));  // deflated, as real ones are
  await page.waitForFunction(() => /^Cannot use/.test(document.getElementById('play-message').textContent));
  assert.match(await message(page), /it is scrcpy server 1\.25, and Keyweave plays with servers 2\.0 to 3\.3\.3/);
  await page.setInputFiles('#play-server', serverFile('3.3.3'));
  await page.waitForFunction(() => /kept/.test(document.getElementById('play-message').textContent));
  // The kept server is there in a reload.
  await page.reload();
  await page.waitForFunction(() => window.studio?.ready === true);
  await page.addScriptTag({ path: path.join(root, 'studio/tests/fake-device.js') });
  await page.click('#play-device');
  await page.waitForFunction(() => /scrcpy server 3\.3\.3/.test(document.getElementById('play-server-state').textContent));

  // The device asks whether to allow this browser: the page waits and says so.
  await plugIn(page, { portrait: portrait() });
  await page.evaluate(() => {
    window.studio.play.useTransport(() => new Promise((resolve) => { window.allow = () => resolve(window.device.attach()); }));
  });
  await page.click('#play-connect');
  await page.waitForFunction(() => /Allow USB debugging\?/.test(document.getElementById('play-message').textContent));
  await page.screenshot({ path: path.join(shots, 'play-4-authorise.png'), fullPage: true });
  await page.evaluate(() => window.allow());
  await page.waitForFunction(() => /^Playing on/.test(document.getElementById('play-message').textContent));
  await page.close();
});

test('faults in a game: the server dies, the device rotates, the tab loses focus', async () => {
  const page = await studioPage();
  await startPlaying(page, { portrait: portrait(), landscape: stream(1600, 720, 0.5) });
  const touchCount = () => page.evaluate(() => window.device.messages.filter((m) => m.type === 'touch').length);

  // Rotated: the screen's size and the touches follow.
  await page.evaluate(() => window.device.rotate('landscape'));
  await page.waitForFunction(() => document.getElementById('play-size').textContent === '1600×720');
  await page.waitForFunction(() => window.studio.play.framesRendered() > 40);
  const box = await page.locator('#play-screen').boundingBox();
  assert.ok(Math.abs(box.width / box.height - 1600 / 720) < 0.01, `${box.width}x${box.height}`);
  assert.match(await page.textContent('#play-aspect'), /the device's is 1600×720: /);
  const before = await touchCount();
  await page.keyboard.down('KeyR');
  await page.waitForFunction((n) => window.device.messages.filter((m) => m.type === 'touch').length > n, before);
  const [reload] = (await deviceMessages(page)).filter((m) => m.type === 'touch').slice(before);
  assert.deepEqual([reload.action, reload.x, reload.y, reload.width, reload.height], [0, 1152, 634, 1600, 720]);
  await page.screenshot({ path: path.join(shots, 'play-5-rotated.png'), fullPage: true });

  // The tab loses focus with R, W and the left button held: all let go.
  await page.keyboard.down('KeyW');
  const overlay = await page.locator('#play-overlay').boundingBox();
  await page.mouse.move(overlay.x + overlay.width / 2, overlay.y + overlay.height / 2);
  await page.mouse.down();
  await page.waitForFunction(() => window.device.messages.filter((m) => m.type === 'touch' && m.action === 0).length >= 3);
  await page.evaluate(() => window.dispatchEvent(new Event('blur')));
  await settled(page);
  assert.deepEqual(stillDown(await deviceMessages(page)), []);
  await page.keyboard.up('KeyR');
  await page.keyboard.up('KeyW');
  await page.mouse.up();

  // Typing: characters reach the device's text field as text, Enter as a key.
  await page.click('#play-typing');
  await page.keyboard.type('Hi!');
  await page.keyboard.press('Enter');
  await page.click('#play-typing');
  await page.waitForFunction(() => window.device.messages.some((m) => m.type === 'key' && m.keyCode === 66));
  const typed = (await deviceMessages(page)).filter((m) => m.type === 'text' || m.type === 'key');
  assert.deepEqual(typed.map((m) => m.text ?? `key ${m.action} ${m.keyCode}`), ['H', 'i', '!', 'key 0 66', 'key 1 66']);

  // The server dies: the page says so; connecting again plays again.
  await page.evaluate(() => window.device.killServer());
  await page.waitForFunction(() => /scrcpy server on the device stopped/.test(document.getElementById('play-message').textContent));
  await page.screenshot({ path: path.join(shots, 'play-6-server-stopped.png'), fullPage: true });
  await connect(page);
  await page.close();
});

test('figures: input to control message, timed steps, frames shown with a held pad and mouse-look', async () => {
  const page = await studioPage();
  await startPlaying(page, { portrait: portrait() });
  // The engine's first calls compile its code: a few presses first.
  for (let i = 0; i < 10; ++i) await page.keyboard.press('KeyR');
  await settled(page);
  await page.evaluate(() => performance.clearMeasures());
  for (let i = 0; i < 200; ++i) {
    await page.keyboard.down('KeyR');
    await page.keyboard.up('KeyR');
  }
  await settled(page);
  const percentile = (values, p) => +values[Math.min(values.length - 1, Math.floor((values.length * p) / 100))].toFixed(2);
  const delays = (await page.evaluate(() => performance.getEntriesByName('input-to-control').map((e) => e.duration)))
    .sort((a, b) => a - b);
  assert.ok(delays.length >= 40, `${delays.length} measured`);
  figures.inputToControlMs = { count: delays.length, p50: percentile(delays, 50), p99: percentile(delays, 99) };
  // The page's own part: from its handler to the transport.
  const own = (await page.evaluate(() => performance.getEntriesByName('handler-to-control').map((e) => e.duration)))
    .sort((a, b) => a - b);
  figures.handlerToControlMs = { p50: percentile(own, 50), p99: percentile(own, 99) };
  // The browser's part: from the event's time stamp to the page's handler.
  const delivery = (await page.evaluate(() => performance.getEntriesByName('input-to-handler').map((e) => e.duration)))
    .sort((a, b) => a - b);
  figures.inputToHandlerMs = { p50: percentile(delivery, 50), p90: percentile(delivery, 90), p99: percentile(delivery, 99) };

  figures.framesPerSecond720x1600 = await framesPerSecond(page);
  // The direction pad's glide: five timed steps after each key.
  for (let i = 0; i < 10; ++i) {
    await page.keyboard.down(i % 2 ? 'KeyA' : 'KeyD');
    await page.waitForTimeout(150);
    await page.keyboard.up(i % 2 ? 'KeyA' : 'KeyD');
    await settled(page);
  }
  const late = (await page.evaluate(() => window.studio.play.player.lateness.slice())).sort((a, b) => a - b);
  assert.ok(late.length > 20, `${late.length} timed steps`);
  figures.timedStepLateMs = { count: late.length, p50: percentile(late, 50), p99: percentile(late, 99) };
  // The floor of browser timers: a chain of zero-delay timeouts, as a timer
  // set from a timer's callback is.
  figures.timerChainMs = await page.evaluate(() => new Promise((resolve) => {
    const times = [];
    const next = () => {
      times.push(performance.now());
      if (times.length < 40) setTimeout(next, 0);
      else resolve(+((times.at(-1) - times[10]) / (times.length - 11)).toFixed(2));
    };
    setTimeout(next, 0);
  }));
  await page.close();

  const big = await studioPage();
  await startPlaying(big, { portrait: stream(1080, 2400) });
  figures.framesPerSecond1080x2400 = await framesPerSecond(big);
  assert.ok(figures.framesPerSecond720x1600.shown > 0 && figures.framesPerSecond1080x2400.shown > 0);
  await big.close();
});
