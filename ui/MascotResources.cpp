#include "ui/MascotResources.h"

#include <QtCore/qglobal.h>

static void initResourcesOnce() { Q_INIT_RESOURCE(resources); }

namespace kelmora {

void initMascotResources()
{
    static const bool done = (initResourcesOnce(), true);
    (void)done;
}

}  // namespace kelmora
