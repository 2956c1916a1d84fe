// Game pads in try-it mode, through the browser's Gamepad API. A pad with
// the browser's standard mapping is attached as the Xbox-style pad of the
// example game-pad database (examples/gamepads.db, entry 045e:028e), and each
// frame in which it changed becomes a "pad report" line: sticks and triggers
// scaled to -1000..1000, the d-pad as a hat angle, the buttons as bits.

const DATABASE = 'gamepads.db';
const IDS = '045e:028e';
// Bits of the entry's buttons B_1.. for the standard mapping's buttons:
// A B X Y LB RB, Back, Start, left and right stick pressed.
const BUTTON_BITS = [[0, 0x1], [1, 0x2], [2, 0x4], [3, 0x8], [4, 0x10], [5, 0x20], [8, 0x40], [9, 0x80], [10, 0x100], [11, 0x200]];
const HAT = { '-1,0': 270, '1,0': 90, '0,-1': 0, '0,1': 180, '1,-1': 45, '1,1': 135, '-1,1': 225, '-1,-1': 315 };

let database = null;

// Fetches the database once and stores it where the play lines find it.
export async function prepareDatabase(engine) {
  if (database !== null) return;
  const response = await fetch(`examples/${DATABASE}`);
  database = response.ok ? await response.text() : '';
  if (database) engine.store(DATABASE, database);
}

function report(pad) {
  const axis = (value) => Math.round((value || 0) * 1000);
  const pressed = (index) => pad.buttons[index]?.pressed ? 1 : 0;
  const x = pressed(15) - pressed(14);
  const y = pressed(13) - pressed(12);
  const hat = HAT[`${x},${y}`] ?? -1;
  const trigger = (index) => pad.buttons[index]?.value || 0;
  let buttons = 0;
  for (const [index, bit] of BUTTON_BITS) if (pressed(index)) buttons |= bit;
  const z = axis(trigger(6) - trigger(7));  // both triggers share Z: the right one below 0
  return `${axis(pad.axes[0])} ${axis(pad.axes[1])} ${z} ${axis(pad.axes[2])} ${axis(pad.axes[3])} 0 ${hat} 0x${buttons.toString(16)}`;
}

// Attaches new pads, reports changed ones and detaches the ones gone.
export function pollPads(tryIt) {
  if (!navigator.getGamepads || !database) return;
  const seen = new Set();
  for (const pad of navigator.getGamepads()) {
    if (!pad) continue;
    if (pad.mapping !== 'standard') {
      document.getElementById('pad-state').textContent =
        `Cannot use the pad ${pad.id}: the browser does not give it the standard layout`;
      continue;
    }
    const id = pad.index + 1;
    seen.add(id);
    if (!tryIt.pads.has(id)) {
      tryIt.line(`pad attach ${id} ${IDS} ${DATABASE}`);
      tryIt.pads.set(id, '');
      document.getElementById('pad-state').textContent = `Pad ${id} attached: ${pad.id}`;
    }
    const values = report(pad);
    if (values !== tryIt.pads.get(id)) {
      tryIt.line(`pad report ${id} ${values}`);
      tryIt.pads.set(id, values);
    }
  }
  for (const id of [...tryIt.pads.keys()]) {
    if (!seen.has(id)) releasePad(tryIt, id);
  }
}

function releasePad(tryIt, id) {
  tryIt.line(`pad detach ${id}`);
  tryIt.pads.delete(id);
  document.getElementById('pad-state').textContent = `Pad ${id} detached`;
}

export function releasePads(tryIt) {
  for (const id of [...tryIt.pads.keys()]) releasePad(tryIt, id);
}
