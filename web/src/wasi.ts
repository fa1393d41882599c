// The few WASI calls the C library of the module may make. The core reads and
// writes no file and keeps no clock: output goes to the console, everything
// else answers "not supported".

const ERRNO_SUCCESS = 0;
const ERRNO_BADF = 8;
const ERRNO_NOSYS = 52;

export class WasiExit extends Error {
  constructor(readonly code: number) {
    super(`the module exited with status ${code}`);
  }
}

export type WasiImports = Record<string, (...args: number[]) => number | void>;

export const WASI_CALLS = [
  'args_get', 'args_sizes_get', 'environ_get', 'environ_sizes_get', 'clock_time_get', 'fd_close',
  'fd_fdstat_get', 'fd_seek', 'fd_write', 'proc_exit', 'random_get',
] as const;

// memory() is read on every call: the module's memory may have grown.
export function wasiImports(memory: () => WebAssembly.Memory): WasiImports {
  const view = () => new DataView(memory().buffer);
  const decoder = new TextDecoder();
  const zeroCounts = (countAt: number, sizeAt: number) => {
    view().setUint32(countAt, 0, true);
    view().setUint32(sizeAt, 0, true);
    return ERRNO_SUCCESS;
  };
  return {
    args_get: () => ERRNO_SUCCESS,
    args_sizes_get: zeroCounts,
    environ_get: () => ERRNO_SUCCESS,
    environ_sizes_get: zeroCounts,
    clock_time_get: () => ERRNO_NOSYS,
    fd_close: () => ERRNO_BADF,
    fd_fdstat_get: () => ERRNO_BADF,
    fd_seek: () => ERRNO_BADF,
    random_get: () => ERRNO_NOSYS,
    fd_write: (fd: number, iovs: number, count: number, written: number) => {
      if (fd !== 1 && fd !== 2) return ERRNO_BADF;
      const v = view();
      let text = '';
      let total = 0;
      for (let i = 0; i < count; i++) {
        const base = v.getUint32(iovs + 8 * i, true);
        const length = v.getUint32(iovs + 8 * i + 4, true);
        text += decoder.decode(new Uint8Array(memory().buffer, base, length));
        total += length;
      }
      (fd === 1 ? console.log : console.error)(text.replace(/\n$/, ''));
      v.setUint32(written, total, true);
      return ERRNO_SUCCESS;
    },
    proc_exit: (code: number) => {
      throw new WasiExit(code);
    },
  };
}
