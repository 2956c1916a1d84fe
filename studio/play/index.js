// "Play on a device": the Studio's keymap drives a real Android device over
// USB. The player picks the scrcpy server file once and the device; the
// device's screen is shown live, with the keymap's bindings and fingers over
// it, and the page's keyboard, mouse and game pads play the game.

import { DeviceLink, NO_WEBUSB, busyMessage, hasWebUsb, openUsbTransport } from './device.js';
import { Player } from './player.js';
import { checkVersion, keepServer, keptServer, serverVersion } from './server-file.js';

const $ = (id) => document.getElementById(id);
const PICTURE_WAIT_S = 20;  // from the server's start to its first picture
const LIST_EVERY_MS = 250;  // how often the lists under the screen take new lines while playing

// `studio`: {engine, pads, timeline, Picture, keymapName(), keymapScreen(),
// stopTrying(), report(message)} from the Studio's page.
export function setUpPlay(studio) {
  const state = { server: undefined, link: undefined, openTransport: undefined, overlay: null };
  const message = (text) => { $('play-message').textContent = text; };
  const overlay = new studio.Picture($('play-overlay'));
  const player = new Player({
    engine: studio.engine, pads: studio.pads, surface: $('play-overlay'), report: message,
    // The fingers are drawn in the next animation frame and the lists a few
    // times a second, both off the way from input to device: keeping a long
    // list scrolled to its end costs a layout, and a frame spent on it is a
    // frame a key press waits.
    onEvents: (events, fresh) => {
      if (fresh) {
        state.events = [];
        state.listed = [];
        studio.timeline.clear();
      }
      state.events.push(...events);
      state.listed.push(...events);
    },
  });
  state.events = [];
  state.listed = [];
  state.listedAt = 0;
  const draw = (now) => {
    if (!state.active) return;
    if (state.events.length) {
      for (const { json } of state.events) if (json.event === 'touch') overlay.touch(json);
      overlay.drawFingers();
      state.events = [];
    }
    if (state.listed.length && now - state.listedAt >= LIST_EVERY_MS) {
      studio.timeline.add(state.listed);
      state.listed = [];
      state.listedAt = now;
    }
    requestAnimationFrame(draw);
  };

  function showServer() {
    const server = state.server;
    $('play-server-state').textContent = server
      ? `scrcpy server ${server.version} (${server.name})` : 'no scrcpy server chosen yet';
  }

  async function chooseServer(file) {
    try {
      const bytes = new Uint8Array(await file.arrayBuffer());
      const version = await serverVersion(bytes, file.name);
      checkVersion(version, file.name);
      state.server = { name: file.name, version, bytes };
      await keepServer(state.server).catch(() => message('Cannot keep the server file in this browser: choose it again next time'));
      showServer();
      message(`Server ${version} kept for next time. Connect a device to play`);
    } catch (error) {
      message(error.message);
    }
  }

  // Shows the keymap's bindings over the device's screen, at its size, and
  // says whether the keymap was made for a screen of another shape.
  function screenChanged(width, height) {
    const screen = $('play-screen');
    screen.style.aspectRatio = `${width} / ${height}`;
    screen.style.width = `min(100%, calc(75vh * ${width} / ${height}))`;
    studio.engine.setScreen(width, height);
    const drawn = studio.engine.open(studio.keymapName(), '');
    overlay.show(drawn.svg, [], { width, height }, () => {}, () => {});
    // Only the guest screen, stretched over the video: no title, no legend.
    const top = Number(/translate\(0,([\d.]+)\)/.exec(overlay.guest.getAttribute('transform'))?.[1] || 0);
    overlay.svg.setAttribute('viewBox', `0 ${top} ${width} ${height}`);
    overlay.svg.setAttribute('preserveAspectRatio', 'none');
    const made = studio.keymapScreen();
    const ratio = (width / height) / (made.width / made.height);
    $('play-aspect').textContent = Math.abs(ratio - 1) < 0.01 ? '' :
      `This keymap was made for a ${made.width}×${made.height} screen, and the device's is ${width}×${height}` +
      `${(width > height) !== (made.width > made.height) ? ' (turned the other way)' : ''}: ` +
      'bindings sit at the same percent of the screen and may miss the game\'s buttons. ' +
      'Set the Studio\'s screen to the device\'s (a screenshot of the game on it does that) and place them again';
    $('play-size').textContent = `${width}×${height}`;
  }

  function gone(text) {
    player.lost();
    state.events = [];
    state.listed = [];
    studio.timeline.clear();
    overlay.clearFingers();
    message(`${text}. Connect it again to go on: nothing is held when you do`);
    setConnected(false);
  }

  function setConnected(on) {
    $('play-screen').classList.toggle('gone', !on);
    $('play-connect').disabled = on;
    $('play-disconnect').disabled = !on;
  }

  async function connect() {
    if (!state.server) {
      message('Choose the scrcpy-server file first: it comes with every scrcpy install (beside the scrcpy program, ' +
        'or in its share/scrcpy folder)');
      return;
    }
    const open = state.openTransport || (hasWebUsb() ? openUsbTransport : null);
    if (!open) {
      message(NO_WEBUSB);
      return;
    }
    await state.link?.close();
    setConnected(true);
    message('Pick the device in the browser\'s list (USB debugging must be on in its Developer options)');
    const waiting = setTimeout(() => message('Waiting for the device to allow USB debugging: unlock it and tap ' +
      '"Allow" in its "Allow USB debugging?" dialog (tick "Always allow from this computer")'), 1000);
    let link;
    try {
      const transport = await open();
      clearTimeout(waiting);
      if (!transport) {
        message('No device picked');
        setConnected(false);
        return;
      }
      message('Starting the scrcpy server on the device…');
      let sized;
      const firstSize = new Promise((resolve) => { sized = resolve; });
      link = new DeviceLink(transport, {
        onSize: (width, height) => { screenChanged(width, height); sized(); },
        onGone: (text) => { if (state.link === link) gone(text); },
      });
      state.link = link;
      await link.start(state.server, $('play-screen'));
      let late;
      await Promise.race([firstSize, new Promise((resolve, reject) => {
        late = setTimeout(() => reject(new Error('Cannot show the device\'s screen: the scrcpy server sent no picture ' +
          `in ${PICTURE_WAIT_S} s. Connect again; if it happens again, unlock the device`)), PICTURE_WAIT_S * 1000);
      })]).finally(() => clearTimeout(late));
      if (link.gone) return;
      studio.stopTrying();
      player.start(link, studio.keymapName());
      message(`Playing on ${link.name} (${link.width}×${link.height}). Esc frees the mouse from mouse-look`);
    } catch (error) {
      clearTimeout(waiting);
      message(busyMessage(error) || error.message || String(error));
      setConnected(false);
      await link?.close();
    }
  }

  async function disconnect() {
    player.stop();
    const link = state.link;
    state.link = undefined;
    await link?.close();
    overlay.clearFingers();
    setConnected(false);
    message('Disconnected');
  }

  // The mode on or off: the device's screen takes the picture's place.
  async function toggle() {
    state.active = !state.active;
    document.body.classList.toggle('playing', state.active);
    $('play-device').setAttribute('aria-pressed', String(state.active));
    $('play-pane').hidden = !state.active;
    $('try-pane').hidden = !state.active;
    if (!state.active) {
      await disconnect();
      message('');
      return;
    }
    studio.stopTrying();
    requestAnimationFrame(draw);
    if (!hasWebUsb() && !state.openTransport) message(NO_WEBUSB);
    state.server = state.server || await keptServer();
    showServer();
  }

  $('play-device').addEventListener('click', toggle);
  $('play-connect').addEventListener('click', connect);
  $('play-disconnect').addEventListener('click', disconnect);
  $('play-server').addEventListener('change', (event) => event.target.files[0] && chooseServer(event.target.files[0]));
  $('play-show-overlay').addEventListener('change', (event) => $('play-overlay').classList.toggle('hidden-keymap', !event.target.checked));
  $('play-typing').addEventListener('click', () => {
    const on = $('play-typing').getAttribute('aria-pressed') !== 'true';
    $('play-typing').setAttribute('aria-pressed', String(on));
    player.setTyping(on);
    document.activeElement?.blur();
  });

  // For the page's tests: a transport of their own in place of WebUSB's
  // (everything above it runs as with a real device), and what was sent.
  return {
    useTransport: (open) => { state.openTransport = open; },
    player,
    link: () => state.link,
    framesRendered: () => state.link?.framesRendered ?? 0,
  };
}
