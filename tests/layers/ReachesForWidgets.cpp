// Must not build: the layer links no widget library.
#include <QWidget>
