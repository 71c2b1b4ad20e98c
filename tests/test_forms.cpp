#include "platform/form.h"
#include "tests/fixture.h"

#include <QCoreApplication>
#include <QLineEdit>

namespace {
int loads = 0;
int unloads = 0;

class Frmessai : public Form {
public:
    Frmessai() : Form(QStringLiteral("essai")) { txt = new QLineEdit(this); }
    void Form_Load() override {
        ++loads;
        txt->setText(QStringLiteral("chargé"));
    }
    void Form_Unload() override { ++unloads; }
    QLineEdit* txt;
};
Frmessai& frmessai() { return forms::Use<Frmessai>(); }
}  // namespace

class Forms : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        loads = unloads = 0;
    }
};

TEST_F(Forms, FirstUseLoadsWithoutShowing) {
    EXPECT_FALSE(forms::Loaded<Frmessai>());
    EXPECT_EQ(frmessai().txt->text(), QStringLiteral("chargé"));
    EXPECT_EQ(loads, 1);
    EXPECT_FALSE(frmessai().Shown());
    frmessai().txt->setText(QStringLiteral("modifié"));
    EXPECT_EQ(frmessai().txt->text(), QStringLiteral("modifié"));
    EXPECT_EQ(loads, 1) << "one instance, loaded once";
}

TEST_F(Forms, UnloadingDropsTheWindowAndTheNextUseLoadsAFreshOne) {
    frmessai().Show();
    frmessai().txt->setText(QStringLiteral("modifié"));
    forms::Unload<Frmessai>();
    EXPECT_EQ(unloads, 1);
    EXPECT_FALSE(forms::Loaded<Frmessai>());
    forms::Unload<Frmessai>();
    EXPECT_EQ(unloads, 1) << "unloading a window that is not loaded does nothing";
    EXPECT_EQ(frmessai().txt->text(), QStringLiteral("chargé"));
    EXPECT_EQ(loads, 2);
}

TEST_F(Forms, ClosingByTheTitleBarUnloads) {
    frmessai().Show();
    frmessai().close();
    EXPECT_FALSE(forms::Loaded<Frmessai>());
    EXPECT_EQ(unloads, 1);
}

TEST_F(Forms, AWindowIsNotDestroyedUnderItsOwnRunningHandler) {
    Frmessai& f = frmessai();
    f.Show();
    QPointer<Frmessai> alive(&f);
    // A handler of the window runs a loop that lets events run; during one
    // of its pauses another handler unloads the window.
    int pauses = 0;
    seams::SetDoEvents([&] {
        if (++pauses == 2) forms::Unload<Frmessai>();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    });
    for (int i = 0; i < 5; ++i) {
        seams::DoEvents();
        ASSERT_TRUE(alive) << "pause " << i;
        f.txt->setText(QStringLiteral("encore utilisable"));
    }
    EXPECT_FALSE(f.Shown());
    EXPECT_FALSE(forms::Loaded<Frmessai>());
    seams::SetDoEvents({});
    // Back in the main loop, the window goes.
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(alive);
}
