#pragma once
// Qt draws the keyboard-accelerator underlines itself whenever Alt is
// pressed, so there is nothing to repaint here: the component only exists so
// that the window owns one as it does on every platform.

#include <QObject>

class TVistaAltFix : public QObject {
    Q_OBJECT
public:
    explicit TVistaAltFix(QObject* owner);

    bool RepaintAll = true;
};
