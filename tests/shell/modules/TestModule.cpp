// Modules for the loading tests, one per MODULE_KIND: two that register the same command, one
// whose entry point fails after registering a command, one that throws from it, and one without
// an entry point.
#include <stdexcept>

#include "KestrelExtension.h"

#define TWIN_A 1
#define TWIN_B 2
#define FAILING 3
#define THROWING 4
#define NO_ENTRY 5

extern "C" {

#if MODULE_KIND == TWIN_A || MODULE_KIND == TWIN_B
int TWIN(int*) {
    DisplayMsg(MODULE_KIND == TWIN_A ? u"twin of module A" : u"twin of module B");
    return 1;
}
#endif

#if MODULE_KIND == TWIN_B
int ONLYB(int*) {
    DisplayMsg(u"only in module B");
    return 1;
}
#endif

#if MODULE_KIND == FAILING
int LATE(int*) {
    DisplayMsg(u"registered before the entry point failed");
    return 1;
}
#endif

#if MODULE_KIND == NO_ENTRY
int ORPHAN(int*) {
    return 1;
}
#else
int KestrelExtEntryPoint(void) {
    void* self = GetLoadingModule();
#if MODULE_KIND == TWIN_A
    AddCommand(u"TWIN", u"Twin", u"a", self, 0);
    return 1;
#elif MODULE_KIND == TWIN_B
    AddCommand(u"twin", u"Twin", u"b", self, 0);
    AddCommand(u"ONLYB", u"Only B", u"b", self, 0);
    return 1;
#elif MODULE_KIND == FAILING
    AddCommand(u"LATE", u"Late", u"failing", self, 0);
    return 0;
#elif MODULE_KIND == THROWING
    (void)self;
    throw std::runtime_error("entry point of a module that throws");
#endif
}
#endif

}  // extern "C"
