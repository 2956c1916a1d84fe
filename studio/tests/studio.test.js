// Keyweave Studio in a real browser: Debian's Chromium, headless, driven by
// Playwright. The page's engine is the same engine as the keyweave command's,
// so what the page shows is checked against the command's own output.
//
// Needs: STUDIO_SITE (build/studio/site, from bash tools/studio.sh --build)
// and KEYWEAVE (the native keyweave command). Screenshots of each step go to
// STUDIO_SHOTS (default: build/studio/screenshots).

import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { chromium } from 'playwright-core';
import { serve } from './serve.js';

const root = path.resolve(path.dirname(new URL(import.meta.url).pathname), '../..');
const site = process.env.STUDIO_SITE || path.join(root, 'build/studio/site');
const keyweave = process.env.KEYWEAVE || path.join(root, 'build/native/tools/keyweave/keyweave');
const shots = process.env.STUDIO_SHOTS || path.join(root, 'build/studio/screenshots');
const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'studio-test-'));

let server, browser, page;
const figures = {};
// How the page's questions are answered: confirm() (discarding unsaved work)
// and prompt() (the package name); each question asked is kept.
const answers = { confirm: true, prompt: 'com.example.placed', asked: [] };

function run(args, cwd = root) {
  try {
    return execFileSync(keyweave, args, { cwd, encoding: 'utf8', stdio: ['ignore', 'pipe', 'pipe'] });
  } catch (error) {
    return error.stdout;  // check exits non-zero when it finds errors
  }
}

async function shot(name) {
  await page.screenshot({ path: path.join(shots, `${name}.png`), fullPage: true });
}

// What both timelines are compared on: everything the engine sent, without
// the log lines (they name the keymap's path, which differs between the page
// and here) and the echoes of the script lines (stamped when a line is read:
// in the page the clock has moved on with the frames by then).
const events = (lines) => lines.filter((line) => !/^\s*\d+\s+(log\s|> )/.test(line));
// The keymap's whole text replaced as an author's paste replaces it.
const pasteKeymap = (value, on = page) => on.evaluate((text) => window.studio.pasteText(text), value);

before(async () => {
  fs.mkdirSync(shots, { recursive: true });
  server = await serve(site);
  browser = await chromium.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox'] });
  page = await browser.newPage({ viewport: { width: 1600, height: 1000 } });
  page.on('pageerror', (error) => { throw error; });
  page.on('dialog', (dialog) => {
    answers.asked.push(`${dialog.type()}: ${dialog.message()}`);
    if (dialog.type() === 'prompt') return answers.prompt === null ? dialog.dismiss() : dialog.accept(answers.prompt);
    return answers.confirm ? dialog.accept() : dialog.dismiss();
  });
});

after(async () => {
  await browser?.close();
  server?.close();
  console.log(`studio figures: ${JSON.stringify(figures)}`);
});

test('the page loads the engine and draws the example keymap as keyweave render does', async () => {
  await page.goto(`${server.url}/index.html`);
  await page.waitForFunction(() => window.studio?.ready === true);
  figures.readyMs = Math.round(await page.evaluate(() => performance.getEntriesByName('studio-ready')[0].startTime));
  figures.wasmBytes = fs.statSync(path.join(site, 'keyweave-studio.wasm')).size;
  await shot('1-example-keymap');

  const drawn = await page.$$eval('#picture g.binding', (nodes) => nodes.map((node) => node.dataset.keys));
  const svg = path.join(scratch, 'shooter.svg');
  run(['render', 'examples/com.example.shooter.cfg', '--svg', svg, '--screen', '1920x1080']);
  const rendered = [...fs.readFileSync(svg, 'utf8').matchAll(/class="binding" data-keys="([^"]*)"/g)].map((m) => m[1]);
  assert.ok(drawn.includes('W') && drawn.includes('Space'));
  assert.deepEqual(drawn, rendered);
  assert.equal(await page.$$eval('#diagnostics li.error', (items) => items.length), 0);
  // The rules' notes are labels, and neighbours' labels never overlap.
  const overlapping = await page.$$eval('#picture text.note', (labels) => {
    const boxes = labels.map((label) => label.getBoundingClientRect());
    const meets = (a, b) => a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
    return boxes.flatMap((a, i) => boxes.slice(i + 1).filter((b) => meets(a, b))).length;
  });
  assert.ok(await page.$$eval('#picture text.note', (labels) => labels.length) >= 8);
  assert.equal(overlapping, 0);
  // A tap's keys lie over whatever else is drawn at its dot (mouse-look's
  // fire circle on LeftClick's).
  const covered = await page.$$eval('#picture g.guest-screen g.binding', (groups) => {
    const meets = (a, b) => a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
    return groups.flatMap((group, i) => group.dataset.action !== 'Tap' ? [] : [...group.querySelectorAll('text')].flatMap((label) =>
      groups.slice(i + 1).flatMap((later) => [...later.querySelectorAll('circle')]
        .filter((circle) => meets(label.getBoundingClientRect(), circle.getBoundingClientRect()))
        .map(() => `${group.dataset.keys} under ${later.dataset.keys}`))));
  });
  assert.deepEqual(covered, []);
});

// 300 rules a few percent apart: single keys, digits, then two-key
// combinations (A,A to K,D), in rows of 30.
const letters = 'ABCDEFGHIJKLMNOPQRSTUVWXYZ'.split('');
const keys = [...letters, ...'0123456789'.split(''), ...letters.flatMap((a) => letters.map((b) => `${a},${b}`))];
const rules = keys.slice(0, 300).map((key, i) => `${key} = Tap (${(i % 30) * 3 + 3},${Math.floor(i / 30) * 9 + 5})`);

test('labels never touch one another, the engine labels and the notes, in every example and among 300 rules', async () => {
  // Pairs of labels on the guest screen (the engine's and the page's notes)
  // whose boxes, as the browser draws them with their halos, meet.
  const touching = () => page.$$eval('#picture g.guest-screen :is(g.binding, g.area, g.screen-centre, g.notes) text', (texts) => {
    const boxes = texts.map((label) => {
      const box = label.getBBox(), halo = Number(label.getAttribute('stroke-width') || 0) / 2;
      return { text: label.textContent, left: box.x - halo, top: box.y - halo, right: box.x + box.width + halo,
        bottom: box.y + box.height + halo };
    });
    const meet = (a, b) => a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
    return boxes.flatMap((a, i) => boxes.slice(i + 1).filter((b) => meet(a, b)).map((b) => `${a.text} / ${b.text}`));
  });
  const examples = await page.$$eval('#example option', (options) => options.map((o) => o.value).filter(Boolean));
  assert.ok(examples.length >= 4);
  for (const example of examples) {
    await page.selectOption('#example', example);
    await page.waitForFunction((name) => window.studio.text().includes(name), example);
    assert.ok(await page.$$eval('#picture g.guest-screen g.binding text', (texts) => texts.length) >= 5, example);
    assert.deepEqual(await touching(), [], example);
  }
  // Opened as a file of its own: the picture is titled with its name.
  await page.setInputFiles('#open-file', { name: 'rules300.cfg', mimeType: 'text/plain',
    buffer: Buffer.from(`[keys]\n${rules.join('\n')}\n`) });
  await page.waitForFunction(() => window.studio.bindings().length === 241);
  assert.match(await page.textContent('#picture svg > text'), /^rules300\.cfg /);  // A,A is A again, B,A is A,B
  await shot('1-labels-of-300-bindings');
  assert.deepEqual(await touching(), []);
  await page.selectOption('#example', 'com.example.shooter');
  await page.waitForFunction(() => window.studio.text().includes('com.example.shooter'));
});

test('keys and the mouse in try-it mode give the timeline of keyweave play of the same script', async () => {
  await page.click('#try-it');
  const fingers = () => page.evaluate(() => window.studio.fingers());
  await page.keyboard.down('KeyW');
  await page.waitForFunction(() => window.studio.fingers().length === 1);
  await page.keyboard.down('KeyD');
  await shot('2-try-it-walking');
  await page.keyboard.up('KeyW');
  await page.keyboard.up('KeyD');
  await page.waitForFunction(() => window.studio.fingers().length === 0);
  // Keys that each side of the browser-key table covers: named, E0-prefixed,
  // unnamed (a scan code in the script).
  for (const key of ['ArrowUp', 'Numpad5', 'F11', 'ShiftRight', 'Space']) await page.keyboard.press(key);
  // The why line says what the engine did with the last input: Space's tap
  // played, and its binding flashed; a key without a rule went out raw.
  await page.waitForFunction(() => /^Space up: Tap of line \d+ in \[keys\] plays on slot \d+$/.test(
    document.getElementById('why').textContent));
  await page.keyboard.press('KeyK');
  await page.waitForFunction(() => document.getElementById('why').textContent ===
    'K up: no rule in [keys]: passed to the guest as its own scan code');
  const box = await page.locator('#picture g.guest-screen').boundingBox();
  await page.mouse.move(box.x + box.width * 0.5, box.y + box.height * 0.5);
  await page.mouse.click(box.x + box.width * 0.5, box.y + box.height * 0.5, { button: 'right' });  // mouse-look on
  await page.mouse.move(box.x + box.width * 0.6, box.y + box.height * 0.4, { steps: 5 });
  await page.mouse.down();  // fire: a finger on the keymap's LeftClick tap
  await page.waitForFunction(() => window.studio.fingers().some(([, x, y]) => x === 84 && y === 70));
  assert.ok((await fingers()).length >= 1);
  // Each finger in its own colour, named in the legend.
  const legend = await page.$$eval('#finger-legend li', (items) => items.map((item) => [item.textContent,
    item.style.getPropertyValue('--finger'), document.querySelector(`#picture circle.finger[data-slot="${item.textContent.match(/\d+/)[0]}"]`)?.getAttribute('stroke')]));
  assert.ok(legend.length >= 2 && new Set(legend.map(([, colour]) => colour)).size === legend.length, JSON.stringify(legend));
  assert.ok(legend.every(([label, colour, drawn]) => !/down/.test(label) || drawn === colour), JSON.stringify(legend));
  await shot('3-try-it-mouse-look');
  await page.mouse.up();
  await page.mouse.click(box.x + box.width * 0.6, box.y + box.height * 0.4, { button: 'right' });  // off again

  const script = await page.evaluate(() => window.studio.stopTrying());
  assert.match(script, /^screen 1920x1080\n/);  // keyweave play aims on the screen the page had
  for (const word of ['press W', 'release D', 'press Up', 'press Num5', 'press 0x57', 'press 0x36', 'press K', 'button left down']) {
    assert.match(script, new RegExp(`^${word}$`, 'm'));
  }
  const scriptPath = path.join(scratch, 'tried.play');
  fs.writeFileSync(scriptPath, script);
  const played = run(['play', path.join(site, 'examples/com.example.shooter.cfg'), scriptPath]).trimEnd().split('\n');
  const shown = await page.evaluate(() => window.studio.timeline());
  assert.ok(events(shown).some((line) => /touch\s+slot\s+\d+ down/.test(line)));
  assert.deepEqual(events(shown), events(played));
  await shot('4-try-it-timeline');
});

test('dragging a binding and a pad reach rewrites their rules', async () => {
  const drag = async (selector, dx, dy) => {
    const box = await page.locator(selector).boundingBox();
    const x = box.x + box.width / 2, y = box.y + box.height / 2;
    await page.mouse.move(x, y);
    await page.mouse.down();
    await page.mouse.move(x + dx, y + dy, { steps: 4 });
    await page.mouse.up();
  };
  await drag('#picture circle.handle[data-keys="Space"]', -80, -40);
  const text = await page.evaluate(() => window.studio.text());
  const space = text.split('\n').find((line) => line.startsWith('Space = Tap'));
  const [x, y] = space.match(/\(([^)]*)\)/)[1].split(',').map(Number);
  assert.ok(x < 90 && y < 56, space);
  const moved = (await page.evaluate(() => window.studio.bindings())).find((b) => b.keys === 'Space');
  assert.deepEqual([moved.x, moved.y], [x, y]);  // the picture follows the text

  await drag('#picture circle.handle[data-keys="MouseMove"]', 40, 0);  // under mouse-look's RightClick
  assert.match(await page.evaluate(() => window.studio.text()), /^MouseMove = Tap \((6[3-9]|7\d)[.\d]*,45\)/m);

  await drag('#picture rect.handle.reach[data-keys="W"]', 40, 0);
  const pads = (await page.evaluate(() => window.studio.text())).split('\n').filter((l) => /^[WASD] = SwipeHold/.test(l));
  const reaches = pads.map((line) => Number(line.match(/\(18,72,([\d.]+)\)/)[1]));
  assert.equal(pads.length, 4);
  assert.ok(reaches.every((reach) => reach === reaches[0] && reach > 7), pads.join('\n'));
  await shot('5-dragged');
});

test('a bad line shows the diagnostic keyweave check gives it, at its line', async () => {
  await page.click('#keymap-text');
  await page.keyboard.press('Control+End');
  await page.keyboard.type('\nX = Tapp (10,10)\n');
  const text = await page.evaluate(() => window.studio.text());
  const line = text.split('\n').indexOf('X = Tapp (10,10)') + 1;
  await page.waitForSelector(`#diagnostics li.error[data-line="${line}"]`);
  const shown = await page.$eval(`#diagnostics li.error[data-line="${line}"]`, (item) => item.textContent);
  fs.writeFileSync(path.join(scratch, 'typed.cfg'), text);
  const checked = run(['check', 'typed.cfg', '--json'], scratch).trim().split('\n').map((l) => JSON.parse(l));
  const expected = checked.find((item) => item.line === line && item.severity === 'error');
  assert.equal(shown, `line ${line}: ${expected.message}`);
  // The offending text itself is underlined, where check places it.
  const underlined = await page.$eval(`#keymap-text mark[data-line="${line}"]`, (mark) => mark.textContent);
  assert.equal(underlined, text.split('\n')[line - 1].substr(expected.column - 1, expected.length));
  assert.equal(underlined, 'Tapp (10,10)');
  assert.equal(await page.$eval(`#editor .cm-lineNumbers .cm-gutterElement.error`, (mark) => mark.textContent), String(line));
  await shot('6-bad-line');
});

test('importing a QtScrcpy keymap and a PlayCover keymap gives the text of keyweave import', async () => {
  for (const [file, format] of [['qtscrcpy.json', 'QtScrcpy'], ['com.example.shooter.playmap', 'PlayCover']]) {
    const source = path.join(root, 'tests/tools/data/import', file);
    await page.setInputFiles('#import-file', source);
    await page.waitForFunction((format) => window.studio.text().includes(`(a ${format} keymap)`), format);
    const expected = run(['import', file], path.dirname(source));
    assert.equal(await page.evaluate(() => window.studio.text()), expected, file);
    assert.ok(await page.$$eval('#picture g.binding', (nodes) => nodes.length) > 0, file);
    assert.match(await page.$eval('#status', (node) => node.textContent), /converted, \d+ dropped, \d+ fields? dropped/);
  }
  // QtScrcpy's comments came over as notes: the bindings' labels.
  const imported = run(['import', 'qtscrcpy.json'], path.join(root, 'tests/tools/data/import'));
  await page.setInputFiles('#import-file', path.join(root, 'tests/tools/data/import/qtscrcpy.json'));
  await page.waitForFunction(() => window.studio.text().includes('(a QtScrcpy keymap)'));
  assert.equal(await page.textContent('#picture text.note[data-keys="Space"]'), imported.match(/^Space = .*# (.*)$/m)[1]);
  // The example's screenshot and play script are not the import's.
  assert.equal(await page.$$eval('#picture svg image', (images) => images.length), 0);
  assert.equal(await page.inputValue('#script-text'), '');
  assert.match(await page.textContent('#status'), /^Imported qtscrcpy\.json: \d+ converted/);
  assert.equal(await page.$eval('#status', (node) => getComputedStyle(node).color), 'rgb(27, 94, 32)');
  await shot('7-imported');
  // A keymap dropped on the text opens as the keymap, never as text typed
  // in: refused (the import is unsaved), the text stays as it was.
  const dropped = '[keys]\nK = Tap (30,30)\n';
  const files = await page.evaluateHandle((content) => {
    const transfer = new DataTransfer();
    transfer.items.add(new File([content], 'dropped.cfg', { type: 'text/plain' }));
    return transfer;
  }, dropped);
  const into = await page.locator('#keymap-text').boundingBox();
  const drop = async () => {
    await page.dispatchEvent('#keymap-text', 'drop', { dataTransfer: files, clientX: into.x + 60, clientY: into.y + 10 });
    // Read once more here: a reading the editor started at the drop has ended by then.
    await page.evaluate((transfer) => new Promise((resolve) => {
      const reader = new FileReader();
      reader.onload = resolve;
      reader.readAsText(transfer.files[0]);
    }), files);
  };
  answers.confirm = false;
  await drop();
  assert.match(answers.asked.at(-1), /^confirm: Opening dropped\.cfg discards/);
  assert.equal(await keymapText(), imported);
  answers.confirm = true;
  await drop();
  await page.waitForFunction(() => window.studio.bindings().some((b) => b.keys === 'K'));
  assert.equal(await keymapText(), dropped);
});

// The binding panel, driven as an author drives it: a click or drag on the
// picture, the kind chosen, its values set, its key pressed.
// The game's screen in the window (things drawn beyond its edges left out),
// and a point of it in percent.
const screenBox = (on = page) => on.evaluate(() => {
  const size = (id) => Number(document.getElementById(id).value);
  const m = document.querySelector('#picture g.guest-screen').getScreenCTM();
  return { x: m.e, y: m.f, width: m.a * size('screen-width'), height: m.d * size('screen-height') };
});
const pointAt = async (x, y, on = page) => {
  const box = await screenBox(on);
  return [box.x + (box.width * x) / 100, box.y + (box.height * y) / 100];
};
// Keys as Playwright names them; "Control+KeyC" is held together.
async function pressKeys(keys) {
  for (const key of keys) {
    const [held, last] = key.includes('+') ? key.split('+') : [null, key];
    if (held) await page.keyboard.down(held);
    await page.keyboard.press(last);
    if (held) await page.keyboard.up(held);
  }
}
async function place({ kind, at, to, path = [], keys = [], fields = {}, selects = {}, checks = [], target, note }) {
  const [x, y] = await pointAt(...at);
  await page.mouse.move(x, y);
  await page.mouse.down();
  for (const step of [...path, ...(to ? [to] : [])]) await page.mouse.move(...(await pointAt(...step)), { steps: 3 });
  await page.mouse.up();
  await page.selectOption('#place-kind', kind);
  for (const [name, value] of Object.entries(fields)) await page.fill(`#place-panel [data-field="${name}"]`, String(value));
  for (const [selector, value] of Object.entries(selects)) await page.selectOption(selector, value);
  for (const name of checks) await page.check(`#place-panel [data-field="${name}"]`);
  if (note) await page.fill('#place-note', note);
  await page.screenshot({ path: path_(`panel-${kind}`) });
  if (target) {
    await page.click('#place-panel .place-target');
    await pressKeys([target]);
  }
  if (keys.length) {
    await page.click('#place-panel .key-capture');
    await pressKeys(keys);
  }
  if (await page.isVisible('#place-panel')) await page.click('#place-panel .place-ok');
  await page.waitForSelector('#place-panel', { state: 'hidden' });
}
const path_ = (name) => path.join(shots, `${name}.png`);
const keymapText = () => page.evaluate(() => window.studio.text());
const lineOf = (text, start) => text.split('\n').findIndex((line) => line.startsWith(start));
// The line of `text` that is the rule `expected` but for numbers a mouse
// placed (a pixel is a few tenths of a percent), or undefined.
const numbers = (line) => (line.match(/-?\d+(\.\d+)?/g) ?? []).map(Number);
const form = (line) => line.replace(/-?\d+(\.\d+)?/g, '#');
const findRule = (text, expected) => text.split('\n').find((line) => form(line) === form(expected) &&
  numbers(line).every((value, i) => Math.abs(value - numbers(expected)[i]) <= 0.6));
const assertRule = (text, expected) => assert.ok(findRule(text, expected), `no rule like ${expected} in\n${text}`);
async function openBinding(keys, kind) {
  const dot = await page.locator(`#picture circle.handle[data-keys="${keys}"]${kind ? `[data-kind="${kind}"]` : ''}`).first().boundingBox();
  await page.mouse.click(dot.x + dot.width / 2, dot.y + dot.height / 2);
  await page.waitForSelector('#place-panel', { state: 'visible' });
}

test('an author places every kind of binding over a screenshot, edits them and saves a keymap that check and play accept', async () => {
  await page.goto(`${server.url}/index.html`);
  await page.waitForFunction(() => window.studio?.ready === true);
  await page.click('#new-keymap');
  await page.setInputFiles('#background-file', path.join(root, 'docs/images/shooter-screenshot.png'));
  await page.waitForSelector('#picture svg image');
  assert.equal(await keymapText(), '');
  const kinds = [
    { kind: 'pad', at: [18, 72], to: [25, 72], keys: ['KeyW', 'KeyA', 'KeyS', 'KeyD'], fields: { glide: 20 } },
    { kind: 'tap', at: [90, 56], keys: ['Space'] },
    { kind: 'taptap', at: [66, 60], to: [66, 70], keys: ['KeyF'] },
    { kind: 'macros', at: [94, 40], fields: { taps: 2, pause: 80 }, keys: ['KeyG'] },
    { kind: 'swipe', at: [50, 60], to: [40, 61], keys: ['KeyE'] },
    { kind: 'swipexy', at: [40, 30], to: [55, 30], keys: ['KeyZ'] },
    { kind: 'trace', at: [30, 40], path: [[35, 35]], to: [40, 40], keys: ['KeyX'] },
    { kind: 'key', at: [5, 5], keys: ['F1'], target: 'Enter' },
    { kind: 'tilt', at: [5, 10], fields: { roll: -30 }, keys: ['ArrowLeft'] },
    { kind: 'mouseswipe', at: [80, 30], to: [85, 30], keys: ['KeyM'] },
    { kind: 'mousehold', at: [60, 10], to: [75, 25], keys: ['KeyH'] },
    { kind: 'touchmove', at: [70, 45], keys: ['KeyT'] },
    { kind: 'tapswipe', at: [75, 80], to: [83, 80], checks: ['always'], keys: ['KeyQ'] },
    { kind: 'tapswipeclick', at: [82, 90], to: [88, 90], keys: ['KeyC'] },
    { kind: 'tapcancel', at: [95, 10], keys: ['Control+KeyX'] },
    { kind: 'shootmove', at: [50, 45], fields: { sens: 50 }, keys: ['KeyB'] },
    { kind: 'suspend', at: [5, 15], keys: ['KeyN'] },
    { kind: 'look', at: [62, 45] },
    { kind: 'fire', at: [84, 70] },
    { kind: 'shootmode', at: [55, 50], to: [78, 75], keys: ['KeyV'] },
    { kind: 'tapstick', at: [85, 55], to: [93, 55], selects: { '#place-button': 'B' } },
    { kind: 'stickpad', at: [20, 70], to: [30, 70] },
    { kind: 'stickmove', at: [60, 40] },
    { kind: 'padkey', at: [5, 20], selects: { '#place-button': 'A' }, target: 'Space' },
  ];
  const offered = await page.$$eval('#place-kind option', (options) => options.map((option) => option.value));
  assert.deepEqual(offered.sort(), kinds.map((k) => k.kind).sort());  // every kind the panel offers is placed here
  for (const binding of kinds) await place(binding);

  let text = await keymapText();
  const expected = ['W = SwipeHold Up (18,72,7,20)', 'D = SwipeHold Right (18,72,7,20)', 'Space = Tap (90,56)',
    'F = TapTap (66,60,66,70)', 'G = TapMacros (94,40,80,94,40,80,1)', 'E = Swipe Left (50,60)', 'Z = SwipeXY (40,30,55,30)',
    'F1 = Key Enter', 'Left = Tilt Absolute (0,-30) Return', 'M = MouseSwipe (80,30,5)', 'H = MouseHold (60,10,75,25)',
    'T = TouchMove (70,45)', 'Q = TapSwipe (75,80,8,1)', 'C = TapSwipeClick (82,90,6)', 'Ctrl,X = TapCancel (95,10)',
    'B = ShootMove (50,45,50)', 'N = SuspendShoot', 'MouseMove = Tap (62,45)', 'LeftClick = Tap (84,70)',
    'V = ShootMode (55,50,78,75,35)', 'B = TapStick (85,55,8,20)', 'LeftStick = SwipeHold (20,70,10,20)',
    'RightStick = TouchMove (60,40,20)', 'A = Space', '# ENABLE_SHOOTING_MODE'];
  for (const rule of expected) assertRule(text, rule);
  assert.match(text, /^X = SwipeTrace \(30(\.\d)?,40(\.\d)?,[\d.,]+\)$/m);
  const at = (line) => text.split('\n').indexOf(findRule(text, line));
  assert.ok(at('V = ShootMode (55,50,78,75,35)') < lineOf(text, '[gamepad2]'));
  assert.ok(lineOf(text, '[gamepad2]') < at('B = TapStick (85,55,8,20)') && at('RightStick = TouchMove (60,40,20)') < lineOf(text, '[gamepad]'));
  assert.equal(lineOf(text, '[gamepad]') + 1, at('A = Space'));

  // Edits write the rule back on its own line.
  const spaceLine = lineOf(text, 'Space = ');
  await openBinding('Space');
  assert.equal(await page.inputValue('#place-panel [data-field="x"]'), '90');
  await page.click('#place-panel .key-capture');
  await page.keyboard.press('KeyJ');
  await page.fill('#place-note', 'jump');
  await page.click('#place-panel .place-ok');
  await page.waitForSelector('#picture text.note');
  text = await keymapText();
  assert.equal(findRule(text, 'J = Tap (90,56)   # jump'), text.split('\n')[spaceLine]);
  assert.equal(await page.textContent('#picture text.note[data-keys="J"]'), 'jump');
  // Radius, direction, timing (of a pad: all four lines), kind.
  const edits = [
    ['Q', () => page.fill('#place-panel [data-field="r"]', '12'), 'Q = TapSwipe (75,80,12,1)'],
    ['E', () => page.selectOption('#place-panel [data-field="direction"]', 'Up'), 'E = Swipe Up (50,60)'],
    ['S', () => page.fill('#place-panel [data-field="glide"]', '40'), 'S = SwipeHold Down (18,72,7,40)'],
    ['G', () => page.fill('#place-panel [data-field="pause"]', '150'), 'G = TapMacros (94,40,150,94,40,150,1)'],
    ['Z', () => page.selectOption('#place-kind', 'tap'), 'Z = Tap (40,30)'],
    ['B', () => page.fill('#place-panel [data-field="speed"]', '30'), 'B = TapStick (85,55,8,30)', 'gamepad2 TapStick'],
  ];
  for (const [keys, change, rule, kind] of edits) {
    const before = lineOf(await keymapText(), `${keys} = ${kind?.split(' ')[1] ?? ''}`);
    await openBinding(keys, kind);
    await change();
    await page.click('#place-panel .place-ok');
    await page.waitForSelector('#place-panel', { state: 'hidden' });
    text = await keymapText();
    assert.equal(text.split('\n')[before], findRule(text, rule), rule);
  }
  assertRule(text, 'W = SwipeHold Up (18,72,7,40)');
  await openBinding('T');
  await page.click('#place-panel .place-duplicate');
  await page.keyboard.press('KeyY');  // the copy's key
  await page.waitForSelector('#place-panel', { state: 'hidden' });
  assertRule(await keymapText(), 'Y = TouchMove (73,45)');
  // A binding without a place on the picture opens from its line in the text.
  const tiltLine = lineOf(await keymapText(), 'Left = Tilt');
  const editor = await page.locator('#keymap-text').boundingBox();
  await page.mouse.dblclick(editor.x + 40, editor.y + 4 + 18 * tiltLine + 9);  // 18 px lines under 4 px of padding
  await page.waitForSelector('#place-panel', { state: 'visible' });
  assert.equal(await page.inputValue('#place-panel [data-field="roll"]'), '-30');
  await page.fill('#place-panel [data-field="roll"]', '-20');
  await page.click('#place-panel .place-ok');
  await page.waitForSelector('#place-panel', { state: 'hidden' });
  assert.equal((await keymapText()).split('\n')[tiltLine], 'Left = Tilt Absolute (0,-20) Return');
  await openBinding('X');
  await shot('11-editing');
  await page.click('#place-panel .place-delete');
  await page.waitForFunction(() => !/^X = /m.test(window.studio.text()));
  assert.match(await keymapText(), /^T = TouchMove \(70,45\)$/m);

  const [download] = await Promise.all([page.waitForEvent('download'), page.click('#save')]);
  const saved = path.join(scratch, download.suggestedFilename());
  await download.saveAs(saved);
  assert.equal(fs.readFileSync(saved, 'utf8'), await keymapText());
  // Throws (and fails) on a rejected line or a warning.
  const checked = execFileSync(keyweave, ['check', '--werror', saved], { encoding: 'utf8' });
  assert.equal(checked.trim(), '1 file checked: no line rejected');
  // The placed bindings act: J taps where it was placed, the pad walks up,
  // the copy's finger rests on its point.
  fs.writeFileSync(path.join(scratch, 'placed.play'), 'press J\nwait 200\nrelease J\npress W\nwait 300\nrelease W\nwait 300\npress Y\nwait 200\nrelease Y\n');
  const played = run(['play', saved, path.join(scratch, 'placed.play')]);
  const downAt = (rule) => new RegExp(`touch\\s+slot\\s+\\d+ down\\s+${numbers(rule).slice(-2).map((n) => n.toFixed(2)).join('\\s+')}$`, 'm');
  text = await keymapText();
  assert.match(played, downAt(findRule(text, 'J = Tap (90,56)   # jump')));
  assert.match(played, downAt(findRule(text, 'Y = TouchMove (73,45)')));
  assert.match(played, /touch\s+slot\s+15 move\s+18(\.\d\d)?\s+6\d\.\d\d/);  // the pad pushed up
});

test('a key already bound is named before placing, and the direction pad stays whole unless the author replaces it', async () => {
  await page.goto(`${server.url}/index.html`);
  await page.waitForFunction(() => window.studio?.ready === true);
  const pad = (text) => text.split('\n').filter((line) => /^[WASD] = SwipeHold/.test(line));
  const [x, y] = await pointAt(40, 20);
  await page.mouse.dblclick(x, y);
  await page.keyboard.press('KeyW');  // a Tap (the kind offered first) on the pad's W
  await page.waitForFunction(() => document.querySelector('#place-panel .place-conflict')?.hidden === false ||
    document.getElementById('place-panel').hidden);  // warned, or placed
  assert.equal(pad(await keymapText()).length, 4);
  assert.match(await page.textContent('.place-conflict-text'), /W = SwipeHold Up \(18,72,7\).*direction pad/);
  assert.ok(await page.isDisabled('#place-panel .place-ok'));
  await shot('12-key-taken');
  await page.click('#place-panel .key-capture');
  await page.keyboard.press('F12');  // no keymap name: refused, the panel waits for another key
  assert.match(await page.textContent('#status'), /^Cannot bind F12/);
  await page.keyboard.press('KeyK');  // another key: placed, the pad untouched
  await page.waitForSelector('#place-panel', { state: 'hidden' });
  assertRule(await keymapText(), 'K = Tap (40,20)');
  assert.equal(pad(await keymapText()).length, 4);
  await page.mouse.dblclick(x, y + 40);
  await page.keyboard.press('KeyW');
  await page.check('#place-replace');  // the author's choice
  await page.click('#place-panel .place-ok');
  await page.waitForSelector('#place-panel', { state: 'hidden' });
  assert.match(await keymapText(), /^W = Tap \(/m);
  assert.equal(pad(await keymapText()).length, 3);
});

test('the panel stays inside the window beside the point edited, and works by keyboard, on a laptop, a tablet and a phone', async () => {
  for (const viewport of [{ width: 1024, height: 700 }, { width: 768, height: 1024 }, { width: 390, height: 844 }]) {
    const small = await browser.newPage({ viewport });
    small.on('pageerror', (error) => { throw error; });
    await small.goto(`${server.url}/index.html`);
    await small.waitForFunction(() => window.studio?.ready === true);
    const picture = await screenBox(small);
    assert.ok(picture.width > 300 && picture.height > 160, `picture ${picture.width}x${picture.height}`);
    for (const [px, py] of [[25, 95], [97, 97], [3, 80], [50, 8], [97, 50]]) {
      const [x, y] = await pointAt(px, py, small);
      await small.mouse.dblclick(x, y);
      for (const kind of ['tap', 'pad']) {  // the first form, and the tallest
        if (kind === 'pad') await small.selectOption('#place-kind', kind);
        const boxes = await small.$$eval('#place-panel, #place-panel button:not([hidden]), #place-panel select, #place-panel input',
          (nodes) => nodes.filter((n) => n.offsetParent !== null).map((n) => n.getBoundingClientRect().toJSON()));
        const panel = boxes[0];
        for (const box of boxes) {
          assert.ok(box.left >= 0 && box.top >= 0 && box.right <= viewport.width && box.bottom <= viewport.height,
            `${viewport.width}x${viewport.height}, point (${px},${py}): ${JSON.stringify(box)}`);
        }
        const rings = await small.$$eval('#picture g.marks circle', (nodes) => nodes.map((n) => {
          const r = n.getBoundingClientRect();
          return [r.x + r.width / 2, r.y + r.height / 2];
        }));
        assert.ok(rings.length >= (kind === 'pad' ? 2 : 1));  // the point, and the pad's reach
        for (const [cx, cy] of [[x, y], ...rings]) {
          assert.ok(cx < panel.left || cx > panel.right || cy < panel.top || cy > panel.bottom, `the panel covers (${px},${py})`);
        }
      }
      if (px === 25) await small.screenshot({ path: path_(`13-panel-${viewport.width}x${viewport.height}`) });
      await small.keyboard.press('Escape');
    }
    // By keyboard alone: Tab reaches each control, and each has a name.
    const [x, y] = await pointAt(30, 30, small);
    await small.mouse.dblclick(x, y);
    await small.selectOption('#place-kind', 'look');  // no key to wait for: Tab moves on
    const unnamed = await small.$$eval('#place-panel button, #place-panel select, #place-panel input', (nodes) => nodes
      .filter((n) => n.offsetParent !== null && !(n.labels?.[0]?.textContent.trim() || n.getAttribute('aria-label') || n.textContent.trim()))
      .map((n) => n.outerHTML));
    assert.deepEqual(unnamed, []);
    // Text against what lies behind it: a contrast of 4.5 at least.
    const low = await small.$$eval('#place-panel *', (nodes) => {
      const rgb = (color) => color.match(/[\d.]+/g).map(Number);
      const light = (color) => {
        const [r, g, b] = rgb(color).map((c) => c / 255).map((c) => (c <= 0.03928 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4));
        return 0.2126 * r + 0.7152 * g + 0.0722 * b;
      };
      const behind = (node) => {
        for (let at = node; at; at = at.parentElement) {
          const color = getComputedStyle(at).backgroundColor;
          if (rgb(color)[3] !== 0) return color;
        }
        return 'rgb(255,255,255)';
      };
      return nodes.filter((n) => n.offsetParent !== null && [...n.childNodes].some((c) => c.nodeType === 3 && c.textContent.trim()))
        .map((n) => {
          const [a, b] = [light(getComputedStyle(n).color), light(behind(n))];
          return { text: n.textContent.trim().slice(0, 30), ratio: (Math.max(a, b) + 0.05) / (Math.min(a, b) + 0.05) };
        }).filter((item) => item.ratio < 4.5);
    });
    assert.deepEqual(low, []);
    let reached = 0;
    for (let i = 0; i < 12 && reached < 4; ++i) {
      const inside = await small.evaluate(() => document.getElementById('place-panel').contains(document.activeElement));
      if (inside) ++reached;
      await small.keyboard.press('Tab');
    }
    assert.equal(reached, 4);
    await small.close();
  }
});

test('edits undo and redo, nothing unsaved is lost without a question, and the package name names the file', async () => {
  await page.goto(`${server.url}/index.html`);
  await page.waitForFunction(() => window.studio?.ready === true);
  const text = () => page.evaluate(() => window.studio.text());
  const original = await text();
  const centre = async (selector) => {
    const box = await page.locator(selector).boundingBox();
    return [box.x + box.width / 2, box.y + box.height / 2];
  };
  const drag = async (selector, dx, dy) => {
    const [x, y] = await centre(selector);
    await page.mouse.move(x, y);
    await page.mouse.down();
    await page.mouse.move(x + dx, y + dy, { steps: 4 });
    await page.mouse.up();
  };
  // A drag, a deletion and typing are each a step back and forth.
  await drag('#picture circle.handle[data-keys="Space"]', -60, -30);
  const dragged = await text();
  assert.notEqual(dragged, original);
  await page.keyboard.press('Control+z');
  assert.equal(await text(), original);
  await page.keyboard.press('Control+Shift+z');
  assert.equal(await text(), dragged);
  await page.click('#picture circle.handle[data-keys="R"]');
  await page.keyboard.press('Delete');
  assert.doesNotMatch(await text(), /^R = /m);
  await page.click('#undo');
  assert.equal(await text(), dragged);
  await page.keyboard.press('Control+y');
  assert.doesNotMatch(await text(), /^R = /m);
  await page.click('#keymap-text');
  await page.keyboard.press('Control+End');
  await page.keyboard.type('# mine\n');
  const typed = await text();
  await page.keyboard.press('Control+z');  // in the text too: the keystrokes typed in one go are one step
  assert.doesNotMatch(await text(), /# mine/);
  await page.keyboard.press('Control+Shift+z');
  assert.equal(await text(), typed);

  // With work unsaved, what would discard it asks first; "no" keeps it.
  answers.confirm = false;
  answers.asked = [];
  await page.selectOption('#example', 'com.example.arena');
  await page.click('#new-keymap');
  const unloading = await page.evaluate(() => {
    const event = new Event('beforeunload', { cancelable: true });
    window.dispatchEvent(event);
    return event.defaultPrevented;
  });
  assert.ok(unloading);
  assert.equal(answers.asked.length, 2);
  assert.match(answers.asked[0], /^confirm: Opening an example discards the unsaved changes to com\.example\.shooter\.cfg/);
  assert.equal(await text(), typed);
  // Files that are neither keymaps nor imports nor images are refused, and
  // a screenshot the browser cannot read keeps the background there was.
  fs.writeFileSync(path.join(scratch, 'thing.bin'), 'W = Tap (1,1)\n');
  await page.setInputFiles('#open-file', path.join(scratch, 'thing.bin'));
  await page.waitForFunction(() => /^Cannot open thing\.bin: it is not a keymap/.test(document.getElementById('status').textContent));
  assert.equal(await text(), typed);
  fs.writeFileSync(path.join(scratch, 'shot.png'), 'not an image');
  await page.setInputFiles('#background-file', path.join(scratch, 'shot.png'));
  await page.waitForFunction(() => /^Cannot use shot\.png as the screenshot/.test(document.getElementById('status').textContent));
  assert.equal(await page.$eval('#status', (node) => getComputedStyle(node).color), 'rgb(198, 40, 40)');
  await shot('11-refused-screenshot');
  await page.keyboard.press('Control+z');  // redraws: the example's screenshot is still the background
  assert.match(await page.$eval('#picture svg image', (image) => image.getAttribute('href')), /shooter-screenshot\.png$/);

  // A new keymap asks for the package, starts without the example's picture
  // and script, and saves as <package>.cfg.
  answers.confirm = true;
  answers.prompt = 'com.example.mine';
  await page.click('#new-keymap');
  assert.match(answers.asked.at(-1), /^prompt: The game's package name/);
  assert.equal(await page.$$eval('#picture svg image', (images) => images.length), 0);
  assert.equal(await page.inputValue('#script-text'), '');
  // A key combination's dot takes the pointer and the keys: selected,
  // dragged, moved with the arrows, deleted, and undone.
  await page.click('#keymap-text');
  await page.keyboard.type('[keys]\nCtrl,A = Tap (50,50)\n');
  await page.waitForSelector('#picture circle.handle[data-keys="Ctrl+A"]');
  const [cx, cy] = await centre('#picture circle.handle[data-keys="Ctrl+A"]');
  assert.equal(await page.evaluate(([x, y]) => document.elementFromPoint(x, y).dataset.keys, [cx, cy]), 'Ctrl+A');
  await drag('#picture circle.handle[data-keys="Ctrl+A"]', 50, 0);
  const moved = (await text()).match(/^Ctrl,A = Tap \(([\d.]+),50\)$/m);
  assert.ok(moved && Number(moved[1]) > 52, await text());
  await page.focus('#picture circle.handle[data-keys="Ctrl+A"]');
  await page.keyboard.press('ArrowUp');
  assert.match(await text(), /^Ctrl,A = Tap \([\d.]+,49\.5\)$/m);
  assert.equal(await page.evaluate(() => document.activeElement.dataset.keys), 'Ctrl+A');
  await page.keyboard.press('Delete');
  assert.doesNotMatch(await text(), /Ctrl,A/);
  await page.keyboard.press('Control+z');
  assert.match(await text(), /^Ctrl,A = Tap \([\d.]+,49\.5\)$/m);
  const [download] = await Promise.all([page.waitForEvent('download'), page.click('#save')]);
  assert.equal(download.suggestedFilename(), 'com.example.mine.cfg');
  assert.equal(await page.textContent('#status'), 'Saved com.example.mine.cfg');
  assert.equal(await page.$eval('#status', (node) => getComputedStyle(node).color), 'rgb(27, 94, 32)');
  answers.asked = [];
  await page.selectOption('#example', 'com.example.shooter');  // saved: nothing to ask
  await page.waitForFunction(() => window.studio.text().includes('com.example.shooter'));
  assert.deepEqual(answers.asked, []);
});

test('mouse-look in try-it locks the pointer: the look finger moves from the middle and stays on the screen', async () => {
  await page.click('#try-it');
  const box = await page.locator('#picture g.guest-screen').boundingBox();
  await page.mouse.move(box.x + box.width * 0.5, box.y + box.height * 0.5);
  await page.mouse.click(box.x + box.width * 0.5, box.y + box.height * 0.5, { button: 'right' });  // mouse-look on
  await page.waitForFunction(() => document.pointerLockElement?.id === 'picture');
  // Forty moves to the right, as far as the window goes and beyond: with
  // the pointer held in the middle, each is a step of its own size.
  for (let i = 1; i <= 40; ++i) await page.mouse.move(box.x + box.width * 0.5 + i * 20, box.y + box.height * 0.5);
  await page.waitForTimeout(0);
  const look = await page.evaluate(() => window.studio.timeline()
    .filter((line) => /touch\s+slot\s+\d+ move/.test(line)).map((line) => Number(line.match(/move\s+([\d.]+)/)[1])));
  assert.ok(look.length > 10, `${look.length} moves\n${(await page.evaluate(() => window.studio.timeline())).filter((l) => /touch/.test(l)).slice(-30).join('\n')}`);
  assert.ok(look.every((x) => x <= 100), look.join(' '));
  const steps = look.slice(1).map((x, i) => +(x - look[i]).toFixed(2)).filter((step) => step > 0);
  assert.ok(Math.max(...steps) <= 2 * Math.min(...steps), steps.join(' '));
  // The browser frees the pointer on Esc (headless Chromium does not: the
  // page is told the same way).
  await page.evaluate(() => document.exitPointerLock());
  await page.waitForFunction(() => /^Mouse-look paused/.test(document.getElementById('status').textContent));
  // Keys typed into the keymap's text while trying are the text's.
  await page.focus('#keymap-text');
  await page.keyboard.press('Control+End');
  await page.keyboard.type('#');
  assert.match(await page.evaluate(() => window.studio.text()), /\n#$/);
  const script = await page.evaluate(() => window.studio.stopTrying());
  assert.match(script, /^mouse 5\d\.\d\d 50\.00$/m);
});

test('the page fits 1024x700 and a tablet, every control is reached with Tab, and the text is legible', async () => {
  const small = await browser.newPage({ viewport: { width: 1024, height: 700 } });
  small.on('pageerror', (error) => { throw error; });
  await small.goto(`${server.url}/index.html`);
  await small.waitForFunction(() => window.studio?.ready === true);
  const overflow = () => small.evaluate(() => document.documentElement.scrollWidth - innerWidth);
  assert.equal(await overflow(), 0);
  await small.screenshot({ path: path.join(shots, '12-1024x700.png') });
  // Tab from the top reaches the file choosers and the bindings' dots.
  const reached = new Set();
  for (let i = 0; i < 40; ++i) {
    await small.keyboard.press('Tab');
    reached.add(await small.evaluate(() => document.activeElement.id || document.activeElement.dataset?.keys || ''));
  }
  for (const id of ['open-file', 'import-file', 'background-file', 'save', 'W']) assert.ok(reached.has(id), id);
  // Text against its background: at least 4.5:1.
  const contrasts = await small.evaluate(() => {
    const channel = (c) => { c /= 255; return c <= 0.03928 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4; };
    const luminance = (rgb) => { const [r, g, b] = rgb.match(/\d+/g).map(Number); return 0.2126 * channel(r) + 0.7152 * channel(g) + 0.0722 * channel(b); };
    const background = (node) => {
      for (; node; node = node.parentElement) {
        const colour = getComputedStyle(node).backgroundColor;
        if (colour !== 'rgba(0, 0, 0, 0)') return colour;
      }
      return 'rgb(255, 255, 255)';
    };
    const ratio = (node) => {
      const [a, b] = [luminance(getComputedStyle(node).color), luminance(background(node))].sort((x, y) => y - x);
      return +((a + 0.05) / (b + 0.05)).toFixed(2);
    };
    return Object.fromEntries(['#editor .cm-lineNumbers .cm-gutterElement', '#hint', 'header h1', '#example', '#save', '#undo', 'h2'].map((s) => [s, ratio(document.querySelector(s))]));
  });
  for (const [selector, ratio] of Object.entries(contrasts)) assert.ok(ratio >= 4.5, `${selector}: ${ratio}`);
  // The keymap's text is named, and Tab moves on from it as from any field.
  assert.equal(await small.getAttribute('#keymap-text', 'aria-label'), 'Keymap text');
  await small.focus('#keymap-text');
  const typed = await small.evaluate(() => window.studio.text());
  await small.keyboard.press('Tab');
  assert.notEqual(await small.evaluate(() => document.activeElement.id), 'keymap-text');
  assert.equal(await small.evaluate(() => window.studio.text()), typed);
  // The text with its diagnostics marked, on a laptop and a tablet.
  await pasteKeymap(`${typed}X = Tapp (10,10)\nY = Tap (200,10)\n`, small);
  await small.waitForSelector('#keymap-text mark.error');
  await small.locator('#diagnostics li.error').first().click();
  await small.screenshot({ path: path.join(shots, '12-diagnostics-1024x700.png') });
  await small.setViewportSize({ width: 768, height: 1024 });
  await small.screenshot({ path: path.join(shots, '12-diagnostics-768x1024.png'), fullPage: true });
  await small.setViewportSize({ width: 390, height: 844 });
  assert.equal(await overflow(), 0);
  const picture = await small.locator('#picture svg').boundingBox();
  assert.ok(picture.width >= 360, `picture ${picture.width}x${picture.height}`);
  await small.screenshot({ path: path.join(shots, '13-390x844.png'), fullPage: true });
  await small.close();
});

test('a game pad through the Gamepad API drives the engine as keyweave play of the same script', async () => {
  const padPage = await browser.newPage({ viewport: { width: 1600, height: 1000 } });
  padPage.on('pageerror', (error) => { throw error; });
  // A pad of the browser's standard mapping, moved by the test.
  await padPage.addInitScript(() => {
    window.fakePad = { id: 'Test pad (STANDARD GAMEPAD)', index: 0, mapping: 'standard', connected: true,
      axes: [0, 0, 0, 0], buttons: Array.from({ length: 17 }, () => ({ pressed: false, value: 0 })) };
    Object.defineProperty(navigator, 'getGamepads', { value: () => [window.fakePad, null, null, null] });
  });
  await padPage.goto(`${server.url}/index.html?example=com.example.racer`);
  await padPage.waitForFunction(() => window.studio?.ready === true);
  await padPage.click('#try-it');
  await padPage.waitForFunction(() => /attached/.test(document.getElementById('pad-state').textContent));
  const set = (change) => padPage.evaluate(change);
  await set(() => { window.fakePad.buttons[0] = { pressed: true, value: 1 }; });  // A: the key Up, the throttle
  await padPage.waitForFunction(() => window.studio.fingers().some(([, x, y]) => x === 88 && y === 78));
  // Left stick left and a little forward: the device rolls (the engine tilts
  // only while both of the stick's axes are off centre).
  await set(() => { window.fakePad.axes[0] = -1; window.fakePad.axes[1] = -0.3; });
  await padPage.waitForFunction(() => document.querySelectorAll('#sensor-vectors li').length === 2);
  await set(() => { window.fakePad.buttons[0] = { pressed: false, value: 0 }; window.fakePad.axes = [0, 0, 0, 0]; });
  await padPage.waitForFunction(() => window.studio.fingers().length === 0);
  await set(() => { window.fakePad.buttons[7] = { pressed: true, value: 1 }; });  // the right trigger: Up too
  await padPage.waitForFunction(() => window.studio.fingers().some(([, x, y]) => x === 88 && y === 78));
  await set(() => { window.fakePad.buttons[7] = { pressed: false, value: 0 }; });
  await padPage.waitForFunction(() => window.studio.fingers().length === 0);
  await padPage.screenshot({ path: path.join(shots, '10-game-pad.png'), fullPage: true });

  const script = await padPage.evaluate(() => window.studio.stopTrying());
  assert.match(script, /^pad attach 1 045e:028e gamepads\.db$/m);
  assert.match(script, /^pad report 1 -1000 -300 0 0 0 0 -1 0x1$/m);
  assert.match(script, /^pad report 1 0 0 -1000 0 0 0 -1 0x0$/m);
  fs.writeFileSync(path.join(scratch, 'pad.play'), script);
  fs.copyFileSync(path.join(root, 'examples/gamepads.db'), path.join(scratch, 'gamepads.db'));  // the script names it
  const played = run(['play', path.join(root, 'examples/com.example.racer.cfg'), 'pad.play'], scratch);
  const shown = await padPage.evaluate(() => window.studio.timeline());
  assert.ok(events(shown).some((line) => /sensor\s+-0\.7071/.test(line)));
  assert.deepEqual(events(shown), events(played.trimEnd().split('\n')));
  await padPage.close();
});

test('figures: key press to drawn frame, and frames per second with a held pad and mouse-look', async () => {
  // The shooter may be open already: wait for it to be read again, or the
  // example opening late would end the try-it started below.
  await page.evaluate(() => performance.clearMeasures('redraw'));
  await page.selectOption('#example', 'com.example.shooter');
  await page.waitForFunction(() => window.studio.text().includes('com.example.shooter') &&
    performance.getEntriesByName('redraw').length > 0);
  await page.evaluate(() => performance.clearMeasures('key-to-frame'));
  await page.click('#try-it');
  for (let i = 0; i < 20; ++i) {
    await page.keyboard.down('KeyA');
    await page.waitForFunction(() => window.studio.fingers().length === 1);
    await page.keyboard.up('KeyA');
    await page.waitForFunction(() => window.studio.fingers().length === 0);
  }
  const delays = await page.evaluate(() => performance.getEntriesByName('key-to-frame').map((e) => e.duration));
  assert.ok(delays.length >= 20);
  delays.sort((a, b) => a - b);
  figures.keyToFrameMs = { median: +delays[delays.length >> 1].toFixed(1), max: +delays.at(-1).toFixed(1) };

  // Two seconds of frames with W held and the mouse looking around each frame.
  const box = await page.locator('#picture g.guest-screen').boundingBox();
  await page.mouse.click(box.x + box.width / 2, box.y + box.height / 2, { button: 'right' });
  await page.keyboard.down('KeyW');
  figures.framesPerSecond = await page.evaluate(async () => {
    const target = document.querySelector('#picture');
    const start = performance.now();
    let frames = 0;
    await new Promise((resolve) => {
      const frame = (now) => {
        ++frames;
        const angle = frames / 10;
        target.dispatchEvent(new PointerEvent('pointermove', { bubbles: true,
          clientX: innerWidth * (0.3 + 0.05 * Math.cos(angle)), clientY: innerHeight * (0.3 + 0.05 * Math.sin(angle)) }));
        if (now - start < 2000) requestAnimationFrame(frame); else resolve();
      };
      requestAnimationFrame(frame);
    });
    return +(frames * 1000 / (performance.now() - start)).toFixed(1);
  });
  await page.keyboard.up('KeyW');
  await page.evaluate(() => window.studio.stopTrying());
  assert.ok(figures.framesPerSecond > 0);

  // Editing big keymaps: 300 bindings (most of them key combinations), then
  // about 1 MB of them repeated (a warning a line), then 1 MB of comments.
  const keymap300 = `[keys]\n${rules.join('\n')}\n`;
  const repeated = `[keys]\n${Array.from({ length: Math.ceil(1e6 / keymap300.length) }, () => rules.join('\n')).join('\n')}\n`;
  const comments = `${'# a comment line of about sixty characters, as authors write\n'.repeat(1e6 / 60)}[keys]\n${rules.join('\n')}\n`;
  const median = (values) => +values.sort((a, b) => a - b)[values.length >> 1].toFixed(1);
  const editing = async (content, label) => {
    await page.evaluate(() => performance.clearMeasures());
    await pasteKeymap(`# notes\n${content}`);
    await page.waitForFunction((count) => window.studio.text().length === count, content.length + 8);
    await page.waitForFunction(() => performance.getEntriesByName('redraw').length > 0);  // the new text's
    await page.evaluate(() => performance.clearMeasures());
    await page.focus('#keymap-text');
    await page.keyboard.press('Control+Home');  // the caret after "# " of the first line
    await page.keyboard.press('ArrowRight');
    await page.keyboard.press('ArrowRight');
    for (let i = 0; i < 10; ++i) {
      await page.keyboard.type('x');
      await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));
    }
    // Typed in a comment: the redraws keep the picture and the marks as they were.
    await page.waitForFunction(() => performance.getEntriesByName('redraw').length > 0);
    const measured = (name) => page.evaluate((n) => performance.getEntriesByName(n).map((e) => e.duration), name);
    figures[label] = { bytes: content.length, keystrokeMs: median(await measured('keystroke')),
      redrawMs: median(await measured('redraw')), engineMs: median(await measured('redraw-engine')),
      pictureMs: median(await measured('redraw-picture')), diagnosticsMs: median(await measured('redraw-diagnostics')), listed: await page.$$eval('#diagnostics li', (items) => items.length) };
  };
  await editing(keymap300, 'edit300');
  await editing(repeated, 'edit1MB');
  await editing(comments, 'editComments1MB');
  assert.ok(figures.edit1MB.listed <= 201);
});
