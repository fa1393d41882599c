// The core keeps a codec work area per thread: a thread_local with a
// destructor, which the compiler registers through __cxa_thread_atexit.
// libc++abi built for wasm32-wasi without threads has none; the module's one
// thread never exits, so such destructors are taken and never run.
extern "C" int __cxa_thread_atexit(void (*)(void*), void*, void*) { return 0; }
