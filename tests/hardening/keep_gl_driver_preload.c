/* Preloaded into the saver program by the soak (LD_PRELOAD): holds one
 * reference to Mesa's software driver so that it stays mapped until the
 * process ends. EGL unloads the driver at exit, before LeakSanitizer looks
 * for leaks; blocks the driver still holds would then show with stacks in
 * an unknown module. Kept mapped, they are named by their library and the
 * suppression file can match them, while a leak of ours stays reported. */
#include <dlfcn.h>
#include <stddef.h>

__attribute__((constructor)) static void KeepGlDriver(void)
{
    static const char* const candidates[] = {
        "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so",
        "/usr/lib/aarch64-linux-gnu/dri/swrast_dri.so",
        "/usr/lib64/dri/swrast_dri.so",
        "/usr/lib/dri/swrast_dri.so",
    };
    for (size_t i = 0; i < sizeof candidates / sizeof candidates[0]; ++i) {
        if (dlopen(candidates[i], RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE) != NULL) {
            return;
        }
    }
}
