// The start-up code (crtbegin.o) hands the program's unwind tables to libgcc's
// unwinder, which would bring 10 KB into the starter and CreateSemaphoreW, a stub
// on Windows 9x. The starter is built without exceptions and no frame of it is ever
// unwound: these take the place of the unwinder's two calls and keep nothing.
extern "C" {

void __register_frame_info(const void*, void*) {}
void* __deregister_frame_info(const void*) { return nullptr; }

}
