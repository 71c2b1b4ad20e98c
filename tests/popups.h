// Pop-up menus recorded instead of shown: "objectName: item | item | ...".
#pragma once

#include "platform/widgets.h"

#include <QAction>
#include <QMenu>
#include <QStringList>

inline void RecordPopups(QStringList& shown) {
    ui::SetPopupHook([&shown](QMenu* m) {
        QStringList texts;
        for (QAction* a : m->actions())
            if (!a->isSeparator()) texts << a->text();
        shown << m->objectName() + ": " + texts.join(" | ");
    });
}
