#pragma once

#include "TextFinder.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The modeless find dialog (find text, whole word, match case, up or down) and its replace
// variant (with the replace text and the replace buttons; it searches downwards). Each button
// only reports; the editor window runs the search.
class FindReplaceDialog : public QDialog {
    Q_OBJECT

public:
    enum class Kind { Find, Replace };

    FindReplaceDialog(Kind kind, QWidget* parent);

    SearchRequest Request() const;
    void SetFindText(const QString& text);
    QLineEdit* FindField() const { return findText; }
    QLineEdit* ReplaceField() const { return replaceText; }
    QCheckBox* WholeWordBox() const { return wholeWord; }
    QCheckBox* MatchCaseBox() const { return matchCase; }
    QRadioButton* UpButton() const { return up; }
    QPushButton* FindNextButton() const { return findNext; }
    QPushButton* ReplaceButton() const { return replace; }
    QPushButton* ReplaceAllButton() const { return replaceAll; }

signals:
    void FindNext();
    // Both replace buttons run the same interactive replacement.
    void ReplaceRequested();

private:
    QLineEdit* findText = nullptr;
    QLineEdit* replaceText = nullptr;
    QCheckBox* wholeWord = nullptr;
    QCheckBox* matchCase = nullptr;
    QRadioButton* up = nullptr;
    QRadioButton* down = nullptr;
    QPushButton* findNext = nullptr;
    QPushButton* replace = nullptr;
    QPushButton* replaceAll = nullptr;
};
