#include "production/TlsThreadState.h"

#include <dlfcn.h>

void ReleaseTlsThreadState()
{
    // Looked up rather than linked: the library comes with the PostgreSQL driver plugin, and
    // a program that never opened a server has not loaded it at all.
    void *library = dlopen("libcrypto.so.3", RTLD_LAZY | RTLD_NOLOAD);
    if (!library)
        return;
    using ThreadStop = void (*)();
    if (auto stop = reinterpret_cast<ThreadStop>(dlsym(library, "OPENSSL_thread_stop")))
        stop();
    dlclose(library);
}
