#include "shell/Vistaaltfixunit.h"

TVistaAltFix::TVistaAltFix(QObject* owner)
    : QObject(owner)
{
}
