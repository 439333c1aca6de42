/* A DLL that only exists beside the test program: it must not load once the
   search path is restricted to the system folder. */
__declspec(dllexport) int SetuvaneDllProbe(void) { return 1; }
