// The Linux build's command line as the reference: runs it and reads the
// 24-bit BMP it writes back as RGBA, the form the JavaScript API returns.
import {execFileSync, spawnSync} from 'node:child_process';
import {mkdtempSync, readFileSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join} from 'node:path';

export const cli = process.env.KESTRA_CLI ?? new URL('../../build/kestra', import.meta.url).pathname;

// A BMP file's pixels: bottom-up rows of B G R, each padded to 4 bytes.
export function readBmp(bytes) {
  const offset = bytes.readUInt32LE(10);
  const width = bytes.readInt32LE(18);
  const height = bytes.readInt32LE(22);
  if (bytes.readUInt16LE(28) !== 24 || height <= 0) throw new Error('not a bottom-up 24-bit BMP');
  const stride = (width * 3 + 3) & ~3;
  const data = new Uint8ClampedArray(width * height * 4);
  for (let y = 0; y < height; ++y) {
    const row = offset + (height - 1 - y) * stride;
    for (let x = 0; x < width; ++x) {
      const at = (y * width + x) * 4;
      data[at] = bytes[row + x * 3 + 2];
      data[at + 1] = bytes[row + x * 3 + 1];
      data[at + 2] = bytes[row + x * 3];
      data[at + 3] = 255;
    }
  }
  return {width, height, data};
}

// The picture `kestra ARGS -o OUT.bmp` draws.
export function nativePicture(args) {
  const folder = mkdtempSync(join(tmpdir(), 'kestra-web-'));
  try {
    const out = join(folder, 'picture.bmp');
    execFileSync(cli, [...args, '-o', out], {stdio: ['ignore', 'ignore', 'pipe']});
    return readBmp(readFileSync(out));
  } finally {
    rmSync(folder, {recursive: true, force: true});
  }
}

// What the command line prints on stderr for ARGS, and its exit code.
export function nativeErrors(args) {
  const run = spawnSync(cli, args, {encoding: 'utf8'});
  return {status: run.status, stderr: run.stderr};
}

// Where two pictures first differ, or null when they are the same.
export function firstDifference(actual, expected) {
  if (actual.width !== expected.width || actual.height !== expected.height) {
    return `size ${actual.width}x${actual.height}, expected ${expected.width}x${expected.height}`;
  }
  for (let i = 0; i < expected.data.length; ++i) {
    if (actual.data[i] !== expected.data[i]) {
      const pixel = i >> 2;
      const at = pixel * 4;
      return `pixel (${pixel % expected.width}, ${Math.floor(pixel / expected.width)}): ` +
        `${actual.data.slice(at, at + 3).join(',')}, expected ${expected.data.slice(at, at + 3).join(',')}`;
    }
  }
  return null;
}
