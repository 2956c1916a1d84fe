// A pretend Android device for the page's tests, behind the one seam the
// page has: the ADB transport. Everything above it (the ADB client, the
// scrcpy client, the control-message serializer, the video decoder) runs as
// it would with a phone on USB. The device answers the services the client
// opens as a device does: file push through "sync:", the command that starts
// the scrcpy server ("exec:..."), and the server's sockets, where it sends a
// real H.264 stream and records every control message it receives.
//
// Loaded into the page as a classic script: window.FakeDevice.

(() => {
  const MARK = 'The server version (';
  const text = (bytes) => new TextDecoder('latin1').decode(bytes);
  const ascii = (string) => new Uint8Array([...string].map((c) => c.charCodeAt(0)));

  // An ADB socket: what the client writes goes to `onWrite`, `push` sends
  // bytes to the client.
  function socket(service, onWrite) {
    let controller;
    let ended = false;
    let resolveClosed;
    const closed = new Promise((resolve) => { resolveClosed = resolve; });
    const end = () => {
      if (ended) return;
      ended = true;
      try { controller.close(); } catch { /* already closed */ }
      resolveClosed(undefined);
    };
    const readable = new ReadableStream({ start(c) { controller = c; }, cancel: end });
    const writable = new WritableStream({
      write(chunk) {
        // The client hands over plain bytes or a consumable wrapper of them.
        const bytes = chunk instanceof Uint8Array ? chunk : chunk.value;
        if (!ended) onWrite(bytes.slice());
        if (typeof chunk.consume === 'function') chunk.consume();
      },
      close: end,
    });
    return {
      service, readable, writable, closed, close: async () => end(), end,
      push: (bytes) => { if (!ended) controller.enqueue(bytes); },
      get ended() { return ended; },
    };
  }

  // Bytes that arrive in pieces, read a record at a time.
  class Buffer {
    constructor() { this.bytes = new Uint8Array(0); }
    add(bytes) {
      const joined = new Uint8Array(this.bytes.length + bytes.length);
      joined.set(this.bytes);
      joined.set(bytes, this.bytes.length);
      this.bytes = joined;
    }
    has(count) { return this.bytes.length >= count; }
    view() { return new DataView(this.bytes.buffer, this.bytes.byteOffset, this.bytes.byteLength); }
    take(count) {
      const taken = this.bytes.slice(0, count);
      this.bytes = this.bytes.slice(count);
      return taken;
    }
  }

  // Annex B H.264 as the server sends it: the parameter sets, then one
  // packet per picture.
  function accessUnits(stream) {
    const starts = [];
    for (let i = 0; i + 3 <= stream.length; ++i) {
      if (stream[i] === 0 && stream[i + 1] === 0 && stream[i + 2] === 1) {
        starts.push(i > 0 && stream[i - 1] === 0 ? i - 1 : i);
        i += 2;
      }
    }
    const config = [];
    const frames = [];
    starts.forEach((start, n) => {
      const nal = stream.subarray(start, starts[n + 1] ?? stream.length);
      const type = nal[nal[2] === 1 ? 3 : 4] & 0x1f;
      if (type === 7 || type === 8) config.push(nal);
      else if (type === 1 || type === 5) frames.push({ data: nal, key: type === 5 });
    });
    const joined = new Uint8Array(config.reduce((sum, nal) => sum + nal.length, 0));
    let at = 0;
    for (const nal of config) { joined.set(nal, at); at += nal.length; }
    return { config: joined, frames };
  }

  function packet(pts, data) {
    const bytes = new Uint8Array(12 + data.length);
    const view = new DataView(bytes.buffer);
    view.setBigUint64(0, pts);
    view.setUint32(8, data.length);
    bytes.set(data, 12);
    return bytes;
  }

  const PTS_CONFIG = 1n << 63n;
  const PTS_KEY = 1n << 62n;

  class FakeDevice {
    // `screens`: {name: {stream (Annex B bytes), width, height}}, the first
    // one shown at the start; `fps`: pictures a second.
    constructor({ screens, fps = 60, model = 'Keyweave fake device' }) {
      this.screens = screens;
      this.screen = Object.keys(screens)[0];
      this.fps = fps;
      this.files = new Map();       // path: bytes pushed
      this.messages = [];           // control messages received, decoded
      this.commands = [];           // services opened
      this.sockets = new Set();
      this.server = null;           // the running server's sockets
      this.framesSent = 0;
      this.model = model;
    }

    // A new ADB connection to the device, as a client gets when it opens the
    // device's USB interface: closing it leaves the device plugged in.
    attach() {
      const device = this;
      let disconnect;
      const disconnected = new Promise((resolve) => { disconnect = resolve; });
      this.disconnect = disconnect;
      this.transport = {
        serial: 'FAKE0001',
        maxPayloadSize: 1024 * 1024,
        banner: { product: 'fake', model: this.model, device: 'fake', features: [] },
        disconnected,
        clientFeatures: [],
        connect: (service) => device.open(service),
        addReverseTunnel: () => { throw new Error('reverse tunnels are not offered'); },
        removeReverseTunnel: () => {},
        clearReverseTunnels: () => {},
        close: () => device.detach(),
      };
      return this.transport;
    }

    // The client lets go: the server and every socket end.
    detach() {
      this.killServer();
      for (const s of [...this.sockets]) s.end();
      this.disconnect?.();
    }

    open(service) {
      if (this.pulled) throw new Error('device offline');
      this.commands.push(service);
      if (service === 'sync:') return this.track(this.sync());
      if (service.startsWith('exec:') || service.startsWith('shell:')) return this.track(this.exec(service.replace(/^\w+:/, '')));
      if (service.startsWith('localabstract:scrcpy')) {
        const server = this.server;
        if (!server || server.process.ended) throw new Error('connection refused');
        return this.track(server.video ? this.control(server) : this.video(server));
      }
      throw new Error(`closed: unknown service ${service}`);
    }

    track(s) {
      this.sockets.add(s);
      s.closed.then(() => this.sockets.delete(s));
      return s;
    }

    // File push, version 1 of the sync protocol: SEND path,mode; DATA...; DONE.
    sync() {
      const input = new Buffer();
      let path = null;
      let file = [];
      const s = socket('sync:', (bytes) => {
        input.add(bytes);
        while (input.has(8)) {
          const id = text(input.bytes.subarray(0, 4));
          const length = input.view().getUint32(4, true);
          if (id === 'DONE') {
            input.take(8);
            const size = file.reduce((sum, part) => sum + part.length, 0);
            const whole = new Uint8Array(size);
            let at = 0;
            for (const part of file) { whole.set(part, at); at += part.length; }
            this.files.set(path, whole);
            file = [];
            s.push(new Uint8Array([...ascii('OKAY'), 0, 0, 0, 0]));
            continue;
          }
          if (id === 'QUIT') { input.take(8); s.end(); return; }
          if (!input.has(8 + length)) return;
          const body = input.take(8 + length).subarray(8);
          if (id === 'SEND') path = text(body).replace(/,\d+$/, '');
          else if (id === 'DATA') file.push(body);
        }
      });
      return s;
    }

    // The shell: only the command that starts the scrcpy server means
    // anything here; its socket is the server's output and its life.
    exec(command) {
      const s = socket(`exec:${command}`, () => {});
      const words = command.split(' ');
      const jar = /^CLASSPATH=(.*)$/.exec(words[0])?.[1];
      const at = words.indexOf('com.genymobile.scrcpy.Server');
      if (!jar || at < 0) {
        queueMicrotask(s.end);
        return s;
      }
      const say = (line) => s.push(ascii(`${line}\n`));
      const file = this.files.get(jar);
      const found = file ? text(file) : '';
      const mark = found.indexOf(MARK);
      const own = mark < 0 ? '' : found.slice(mark + MARK.length, found.indexOf(')', mark));
      const wanted = words[at + 1];
      queueMicrotask(() => {
        if (!file) {
          say(`Error: Could not find or load main class com.genymobile.scrcpy.Server`);
          s.end();
        } else if (own !== wanted) {
          say(`[server] ERROR: The server version (${own}) does not match the client (${wanted})`);
          s.end();
        } else {
          say(`[server] INFO: Device: [Fake] ${this.model} (Android 14)`);
          this.server = { process: s, options: words.slice(at + 2), video: null, control: null };
        }
      });
      return s;
    }

    // The video socket: a dummy byte (forward tunnel), the device's name, the
    // codec and size, then the stream's packets at the device's frame rate.
    video(server) {
      const s = socket('video', () => {});
      server.video = s;
      const head = new Uint8Array(1 + 64 + 12);
      head.set(ascii(this.model).subarray(0, 63), 1);
      const view = new DataView(head.buffer);
      const { width, height } = this.screens[this.screen];
      view.setUint32(65, 0x68323634);  // "h264"
      view.setUint32(69, width);
      view.setUint32(73, height);
      s.push(head);
      this.play(server, this.screen);
      return s;
    }

    play(server, name) {
      clearTimeout(server.timer);
      const units = accessUnits(this.screens[name].stream);
      server.video.push(packet(PTS_CONFIG, units.config));
      const start = performance.now();
      let n = 0;
      const next = () => {
        if (server.video.ended) return;
        const frame = units.frames[n % units.frames.length];
        const pts = BigInt(Math.round((n * 1e6) / this.fps));
        server.video.push(packet(frame.key ? pts | PTS_KEY : pts, frame.data));
        ++n;
        ++this.framesSent;
        server.timer = setTimeout(next, Math.max(0, start + (n * 1000) / this.fps - performance.now()));
      };
      next();
    }

    // The control socket: every message the client sends, decoded.
    control(server) {
      const input = new Buffer();
      const s = socket('control', (bytes) => {
        const time = performance.now();
        input.add(bytes);
        while (input.has(1)) {
          const view = input.view();
          const type = input.bytes[0];
          if (type === 2 && input.has(32)) {  // a touch
            this.messages.push({ type: 'touch', time, action: view.getUint8(1), pointerId: Number(view.getBigUint64(2)),
              x: view.getUint32(10), y: view.getUint32(14), width: view.getUint16(18), height: view.getUint16(20),
              pressure: view.getUint16(22) / 0xffff });
            input.take(32);
          } else if (type === 0 && input.has(14)) {  // a key
            this.messages.push({ type: 'key', time, action: view.getUint8(1), keyCode: view.getUint32(2),
              repeat: view.getUint32(6), metaState: view.getUint32(10) });
            input.take(14);
          } else if (type === 1 && input.has(5) && input.has(5 + view.getUint32(1))) {  // text
            const length = view.getUint32(1);
            this.messages.push({ type: 'text', time, text: new TextDecoder().decode(input.bytes.subarray(5, 5 + length)) });
            input.take(5 + length);
          } else if (type > 2) {
            this.messages.push({ type: 'other', time, id: type });
            input.take(input.bytes.length);
          } else {
            return;  // the rest of a message is still on its way
          }
        }
      });
      server.control = s;
      return s;
    }

    // The device turns: the stream goes on at the other screen's size.
    rotate(name) {
      this.screen = name;
      if (this.server?.video) this.play(this.server, name);
    }

    // The server dies (the device still there).
    killServer() {
      const server = this.server;
      this.server = null;
      if (!server) return;
      clearTimeout(server.timer);
      for (const s of [server.video, server.control, server.process]) s?.end();
    }

    // The cable is pulled.
    unplug() {
      if (this.pulled) return;
      this.pulled = true;
      if (this.server) clearTimeout(this.server.timer);
      this.server = null;
      this.disconnect?.();
      for (const s of [...this.sockets]) s.end();
    }
  }

  window.FakeDevice = FakeDevice;
})();
