#include "IsolatedHome.h"

namespace {
void restore(const char* name, bool had, const QByteArray& value) {
    if (had)
        qputenv(name, value);
    else
        qunsetenv(name);
}
} // namespace

IsolatedHome::IsolatedHome()
    : oldConfig_(qgetenv("XDG_CONFIG_HOME")), oldCache_(qgetenv("XDG_CACHE_HOME")),
      oldData_(qgetenv("XDG_DATA_HOME")), hadConfig_(qEnvironmentVariableIsSet("XDG_CONFIG_HOME")),
      hadCache_(qEnvironmentVariableIsSet("XDG_CACHE_HOME")),
      hadData_(qEnvironmentVariableIsSet("XDG_DATA_HOME")) {
    qputenv("XDG_CONFIG_HOME", configHome().toLocal8Bit());
    qputenv("XDG_CACHE_HOME", cacheHome().toLocal8Bit());
    qputenv("XDG_DATA_HOME", dataHome().toLocal8Bit());
}

IsolatedHome::~IsolatedHome() {
    restore("XDG_CONFIG_HOME", hadConfig_, oldConfig_);
    restore("XDG_CACHE_HOME", hadCache_, oldCache_);
    restore("XDG_DATA_HOME", hadData_, oldData_);
}
