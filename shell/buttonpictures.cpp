#include "shell/buttonpictures.h"

#include "platform/datadir.h"
#include "platform/filereport.h"
#include "platform/seqfile.h"
#include "platform/textfile.h"

#include <QPainter>

ButtonPictureSet ButtonPictures;

std::array<QPixmap, 11>& ButtonPictureSet::pictures() {
    static std::array<QPixmap, 11> p;
    return p;
}

namespace {

const QString kList = QStringLiteral("\\data\\img\\liste.txt");

// The program path of a picture named in the list.
QString pathOf(const QString& name) { return QStringLiteral("\\data\\img\\") + name + QStringLiteral(".gif"); }

// A plain stand-in for a picture that could not be loaded.
QPixmap drawnPicture(int index) {
    static const char* const kText[11] = {"Enr.", "Enr.", "Init.", "Init.", "Point.", "Point.",
                                          "OFF",  "ON",   "||",    ">",     ""};
    const bool pressed = index == 1 || index == 3 || index == 5;
    QColor fill = pressed ? QColor(150, 150, 150) : QColor(210, 210, 210);
    if (index == 6) fill = QColor(170, 30, 30);
    if (index == 7) fill = QColor(30, 150, 40);
    QPixmap p(48, 32);
    p.fill(fill);
    QPainter painter(&p);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, 47, 31);
    painter.drawText(p.rect(), Qt::AlignCenter, QString::fromLatin1(kText[index]));
    return p;
}

}  // namespace

void LoadButtonPictures() {
    std::array<bool, 11> loaded{};
    auto reader = SeqReader::Open(datadir::Path(kList));
    if (!reader) {
        filereport::Missing(kList);
    } else {
        std::size_t index = 0;
        bool tooMany = false;
        while (!reader->AtEnd()) {
            const QString name = reader->Line().trimmed();
            if (index >= ButtonPictures.size()) {
                tooMany = true;
                break;
            }
            const QString picturePath = pathOf(name);
            // Read as any file is: only a plain file, whatever stands under its name.
            const auto bytes = name.isEmpty() ? std::nullopt : textfile::ReadBytes(datadir::Path(picturePath));
            QPixmap p;
            if (bytes && p.loadFromData(*bytes, "GIF")) {
                ButtonPictures[index] = p;
                loaded[index] = true;
                filereport::Readable(picturePath);
            } else {
                // The message names the picture by the start of its line only.
                filereport::Missing(pathOf(textfile::Excerpt(name)));
            }
            ++index;
        }
        if (tooMany) filereport::Malformed(kList, QStringLiteral("Onze images au plus."));
    }
    // Roles whose picture is missing get a drawn one: the windows tell a
    // control's state by the picture it shows.
    for (std::size_t i = 0; i < ButtonPictures.size(); ++i)
        if (!loaded[i]) ButtonPictures[i] = drawnPicture(static_cast<int>(i));
}
