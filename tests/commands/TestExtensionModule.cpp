// An extension module for the tests: command functions found by name, and a probe through which
// a test watches what a command sees.
extern "C" {

using ProbeFunction = int (*)(int* step);
static ProbeFunction probe = nullptr;
static int lineCalls = 0;

// Continues once, then finishes.
int LINE(int* step) {
    ++lineCalls;
    if (*step == 1) *step = 2;
    return 1;
}

int FAILING(int*) {
    return 0;
}

// Hands every call to the test.
int PROBE(int* step) {
    return probe ? probe(step) : 0;
}

int TestLineCalls() {
    return lineCalls;
}
void TestSetProbe(ProbeFunction function) {
    probe = function;
}
}
