#pragma once

#include <QDialog>

namespace velmora {

// The about box: the program's name and version.
class TNevjegy : public QDialog {
    Q_OBJECT
public:
    explicit TNevjegy(QWidget* parent);
};

} // namespace velmora
