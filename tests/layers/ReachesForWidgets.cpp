// Must not build: the session links no widget library.
#include <QWidget>
