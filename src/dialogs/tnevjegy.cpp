#include "dialogs/tnevjegy.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/version.h"

namespace velmora {

TNevjegy::TNevjegy(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TNevjegy"));
    setWindowTitle(QStringLiteral("  Névjegy"));
    auto* name = new QLabel(QString::fromUtf8(kProgramTitle), this);
    name->setObjectName(QStringLiteral("programName"));
    QFont big = name->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    name->setFont(big);
    name->setAlignment(Qt::AlignCenter);
    auto* version = new QLabel(
        QStringLiteral("Verzió: ") + QString::fromStdString(kProgramVersion.Text()), this);
    version->setObjectName(QStringLiteral("versionLabel"));
    version->setAlignment(Qt::AlignCenter);
    auto* close = new QPushButton(QStringLiteral("Bezárás"), this);
    close->setObjectName(QStringLiteral("closeButton"));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 24, 40, 16);
    layout->setSpacing(12);
    layout->addWidget(name);
    layout->addWidget(version);
    layout->addWidget(close, 0, Qt::AlignCenter);
    setFixedSize(sizeHint());
}

} // namespace velmora
