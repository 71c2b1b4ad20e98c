// The observation notes window: one page of free text kept in
// "\data\notes.txt", loaded whole when the window opens and saved whole when
// the save picture is pressed.
#pragma once

#include "platform/form.h"

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class PictureBox;

class Frmnotes : public Form {
    Q_OBJECT
public:
    static constexpr int kWidth = 7485;
    static constexpr int kHeight = 6705;

    Frmnotes();
    void Form_Load() override;
    void Form_Resize() override;

    void Picturesave_MouseDown(Qt::MouseButton button);
    void Picturesave_MouseUp(Qt::MouseButton button);
    void effacer_Click();
    void cmdnotesquit_Click();

    // The notes as the program keeps them: lines joined by CR LF.
    QString NotesText() const;
    void SetNotesText(const QString& text);

    QLabel* lblTitre = nullptr;
    QGroupBox* Frame1 = nullptr;
    QPlainTextEdit* txtnotes = nullptr;
    PictureBox* Picturesave = nullptr;
    QPushButton* effacer = nullptr;
    QPushButton* cmdnotesquit = nullptr;
    QLabel* Image1 = nullptr;  // decorative

private:
    void save();
};

inline Frmnotes& frmnotes() { return forms::Use<Frmnotes>(); }
