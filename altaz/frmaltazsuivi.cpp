#include "altaz/frmaltazsuivi.h"

#include <QTimer>

Frmaltazsuivi::Frmaltazsuivi() : Form(QStringLiteral("Suivi Sidéral ")) {
    setObjectName(QStringLiteral("frmaltazsuivi"));
    timcompteur = new QTimer(this);
    timcompteur->setObjectName(QStringLiteral("timcompteur"));
}
