// Linked into every GUI test: Qt's offscreen platform unless the caller
// chose one. (The CTest ENVIRONMENT property of discovered tests keeps only
// its first variable with this CMake, so it cannot carry this one.)
#include <cstdlib>

namespace {

const bool kOffscreen = [] { return ::setenv("QT_QPA_PLATFORM", "offscreen", 0) == 0; }();

}  // namespace
