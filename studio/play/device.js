// The device end of Play: an ADB transport to the phone (WebUSB, or the one
// a test hands in), the scrcpy server pushed and started on it, its screen
// decoded into a canvas, and its control socket for touches and keys.

import { Adb, AdbDaemonTransport } from '@yume-chan/adb';
import AdbWebCredentialStore from '@yume-chan/adb-credential-web';
import { AdbDaemonWebUsbDevice, AdbDaemonWebUsbDeviceManager } from '@yume-chan/adb-daemon-webusb';
import { AdbScrcpyClient, AdbScrcpyExitedError } from '@yume-chan/adb-scrcpy';
import { TinyH264Decoder } from '@yume-chan/scrcpy-decoder-tinyh264';
import {
  BitmapVideoFrameRenderer, InsertableStreamVideoFrameRenderer, WebCodecsVideoDecoder,
} from '@yume-chan/scrcpy-decoder-webcodecs';
import { ReadableStream } from '@yume-chan/stream-extra';
import { SERVER_PATH, serverOptions } from './server-file.js';

export const NO_WEBUSB = 'Cannot play on a device in this browser: it has no WebUSB. ' +
  'Chrome, Edge, Opera and the other Chromium browsers have it on Windows, Linux, macOS and Android; Firefox and Safari do not';

// Whether the browser can reach a USB device at all.
export function hasWebUsb() {
  return AdbDaemonWebUsbDeviceManager.BROWSER !== undefined;
}

// The player picks the device; its ADB daemon then checks this browser's key
// (the device asks "Allow USB debugging?" the first time). Undefined when
// the player picked nothing.
export async function openUsbTransport() {
  const manager = AdbDaemonWebUsbDeviceManager.BROWSER;
  if (!manager) throw new Error(NO_WEBUSB);
  const device = await manager.requestDevice();
  if (!device) return undefined;
  let connection;
  try {
    connection = await device.connect();
  } catch (error) {
    throw new Error(busyMessage(error) || `Cannot open the device: ${error.message}`, { cause: error });
  }
  return AdbDaemonTransport.authenticate({
    serial: device.serial, connection, credentialStore: new AdbWebCredentialStore('Keyweave Studio'),
  });
}

// What to tell a player whose device another program holds, or ''.
export function busyMessage(error) {
  if (!(error instanceof AdbDaemonWebUsbDevice.DeviceBusyError)) return '';
  return 'Cannot open the device: another program holds it, most likely an adb server. ' +
    'Stop it (`adb kill-server`; close Android Studio, scrcpy or any other tool that uses adb) and connect again';
}

// One game on one device: the server started, the screen shown in `canvas`.
// `onSize(width, height)` is called with the screen's size in pixels at the
// start and whenever it changes (the device rotates); `onGone(message)` once
// when the device or its server goes away.
export class DeviceLink {
  constructor(transport, { onSize, onGone }) {
    this.adb = new Adb(transport);
    this.onSize = onSize;
    this.onGone = onGone;
    this.gone = false;
    this.width = 0;
    this.height = 0;
  }

  get name() {
    return this.deviceName || this.adb.banner.model || this.adb.serial;
  }

  // Pushes and starts the server (`server`: {name, version, bytes}) and
  // starts showing its video as the first child of `screen`.
  async start(server, screen) {
    const unplugged = () => { this.unplugged = true; this.lose(); };
    this.adb.disconnected.then(unplugged, unplugged);
    const file = new ReadableStream({ start(controller) { controller.enqueue(server.bytes); controller.close(); } });
    await AdbScrcpyClient.pushServer(this.adb, file, SERVER_PATH);
    try {
      this.client = await AdbScrcpyClient.start(this.adb, SERVER_PATH, serverOptions(server.version));
    } catch (error) {
      if (error instanceof AdbScrcpyExitedError) {
        throw new Error(`Cannot start the scrcpy server on the device: ${error.output.join(' ').trim() || 'it stopped at once'}`, { cause: error });
      }
      throw error;
    }
    // A device pulled out ends its server's sockets too, in either order:
    // the server is taken for dead only if the device is still there a
    // moment later.
    const exited = () => setTimeout(() => this.lose(), 100);
    this.client.exited.then(exited, exited);
    this.controller = this.client.controller;
    const video = await this.client.videoStream;
    this.deviceName = video.metadata.deviceName;
    video.sizeChanged(({ width, height }) => {
      this.width = width;
      this.height = height;
      this.onSize(width, height);
    });
    this.decoder = this.makeDecoder(video.metadata.codec);
    const shown = this.decoder.renderer.element || this.decoder.renderer.canvas || this.decoder.renderer;
    shown.classList.add('play-video');
    screen.querySelector('.play-video')?.remove();
    screen.prepend(shown);
    video.stream.pipeTo(this.decoder.writable).catch(exited);
  }

  // WebCodecs where the browser has it, its frames handed to a <video>
  // element's track (the browser shows them without a copy on the page's
  // thread) or drawn into a canvas; a decoder in WebAssembly elsewhere.
  makeDecoder(codec) {
    if (!WebCodecsVideoDecoder.isSupported) return new TinyH264Decoder();
    const renderer = InsertableStreamVideoFrameRenderer.isSupported
      ? new InsertableStreamVideoFrameRenderer() : new BitmapVideoFrameRenderer();
    return new WebCodecsVideoDecoder({ codec, renderer });
  }

  get framesRendered() {
    return this.decoder?.framesRendered ?? 0;
  }

  lose() {
    if (this.gone) return;
    this.gone = true;
    this.decoder?.dispose();
    this.onGone(this.unplugged
      ? 'The device is gone: it was unplugged, or its USB debugging was switched off'
      : 'The scrcpy server on the device stopped (the device locked its screen, or another program ended it)');
  }

  // Ends the game: the server stops and the device is let go.
  async close() {
    this.gone = true;
    this.decoder?.dispose();
    await this.client?.close().catch(() => {});
    await this.adb.close().catch(() => {});
  }
}
