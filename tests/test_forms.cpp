#include "platform/form.h"
#include "tests/fixture.h"

#include <QCoreApplication>
#include <QCheckBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>

#include <functional>

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

TEST_F(Forms, AWindowUnloadedBeforeAMessageBoxLeavesTheBoxIdleAndGoesOnceItCloses) {
    // A handler unloads its window, then a message box waits for the user:
    // the window stays until the handler has returned, and its going is not
    // tried again at every pass of the box's loop (that would keep the
    // processor busy for as long as the box waits).
    Frmessai& f = frmessai();
    f.Show();
    QPointer<Frmessai> alive(&f);
    struct Tries : QObject {
        QObject* form = nullptr;
        int count = 0;
        bool eventFilter(QObject* to, QEvent* e) override {
            const bool oneShot = e->type() == QEvent::Timer && QByteArray(to->metaObject()->className()) ==
                                                                   QByteArrayLiteral("QSingleShotTimer");
            if ((to == form && e->type() == QEvent::MetaCall) || oneShot) ++count;
            return false;
        }
    } tries;
    tries.form = &f;
    QCoreApplication::instance()->installEventFilter(&tries);
    forms::Unload<Frmessai>();
    seams::SetMsgBox([](const QString&) {
        for (int pass = 0; pass < 50; ++pass) QCoreApplication::processEvents();
    });
    seams::MsgBox(QStringLiteral("Un message"));
    QCoreApplication::instance()->removeEventFilter(&tries);
    EXPECT_TRUE(alive) << "not destroyed under the handler";
    EXPECT_LE(tries.count, 1) << "the window's going was tried at every pass of the box";
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(alive) << "back in the main loop, the window goes";
}

TEST_F(Forms, MessageBoxesArePlainWithOnlyOk) {
    const auto box = forms::MessageBox(QStringLiteral("déplacement impossible : altitude négative !"));
    EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Orvanel"));
    EXPECT_EQ(box->text(), QStringLiteral("déplacement impossible : altitude négative !"));
}

TEST_F(Forms, CaptionsTooWideForTheirControlsAreMadeToFit) {
    struct Case {
        const char* what;
        std::function<QWidget*(QWidget*)> make;
        bool wraps;      // fits by wrapping onto a second line
        bool smaller;    // fits with a smaller font
    };
    const QString longText = QStringLiteral("Azimut   et  altitude encoding du moteur");
    const Case cases[] = {
        {"a label with room for two lines wraps",
         [&](QWidget* p) { auto* l = new QLabel(longText, p); l->setGeometry(0, 0, 150, 40); return l; }, true, false},
        {"a label on one line takes a smaller font",
         [&](QWidget* p) { auto* l = new QLabel(longText, p); l->setGeometry(0, 0, 200, 19); return l; }, false, true},
        {"a label that fits is left alone",
         [&](QWidget* p) { auto* l = new QLabel(QStringLiteral("min"), p); l->setGeometry(0, 0, 60, 19); return l; },
         false, false},
        {"a check box takes a smaller font",
         [&](QWidget* p) {
             auto* c = new QCheckBox(QStringLiteral("Déclinaison \\ Altitude"), p);
             c->setGeometry(0, 0, 120, 19);
             return c;
         },
         false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QWidget window;
        window.resize(300, 200);
        QWidget* w = c.make(&window);
        const double before = QFontInfo(w->font()).pointSizeF();
        forms::FitCaptions(&window);
        const auto* l = qobject_cast<QLabel*>(w);
        EXPECT_EQ(l && l->wordWrap(), c.wraps);
        EXPECT_EQ(QFontInfo(w->font()).pointSizeF() < before, c.smaller);
        EXPECT_EQ(forms::CaptionOverrun(w), 0);
    }

    // A frame's title takes a smaller font; the controls inside keep theirs.
    QWidget window;
    auto* frame = new QGroupBox(QStringLiteral("Inversion des commandes"), &window);
    frame->setGeometry(0, 0, 140, 60);
    auto* inside = new QLabel(QStringLiteral("min"), frame);
    inside->setGeometry(10, 20, 60, 19);
    const QFont font = inside->font();
    forms::FitCaptions(&window);
    EXPECT_LT(frame->font().pointSizeF(), font.pointSizeF());
    EXPECT_EQ(inside->font().pointSizeF(), font.pointSizeF());
    EXPECT_EQ(forms::CaptionOverrun(frame), 0);
}

TEST_F(Forms, ACaptionOverrunsByWhatItsTextNeedsBeyondItsControl) {
    QWidget window;
    const QString text = QStringLiteral("Nombre de pas moteur");
    auto* l = new QLabel(text, &window);
    const int need = QFontMetrics(l->font()).horizontalAdvance(text);
    struct Case {
        int width, height;
        int overrun;
    } cases[] = {{need, 19, 0}, {need + 20, 19, 0}, {need - 1, 19, 1}, {need - 30, 19, 30}, {need, 5, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width - need);
        l->setGeometry(0, 0, c.width, c.height);
        const int down = std::max(0, QFontMetrics(l->font()).height() - c.height);
        EXPECT_EQ(forms::CaptionOverrun(l), std::max(c.overrun, down));
    }
    auto* pixmap = new QLabel(&window);
    pixmap->setPixmap(QPixmap(200, 200));
    pixmap->setGeometry(0, 0, 10, 10);
    EXPECT_EQ(forms::CaptionOverrun(pixmap), 0) << "a picture has no caption";
}
