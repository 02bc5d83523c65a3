#pragma once
// Modal message boxes and the two system sounds. The program's texts break
// lines with CR (some with CR LF); each implementation shows them as lines.

#include <QString>

namespace quillon {

enum class MessageButton { Ok, Yes, No, Cancel };

// The icon of a Yes/No/Cancel question: the reminder prompt asks, the
// many-programs check warns.
enum class MessageIcon { Question, Warning };

struct QuestionAnswer {
    MessageButton button = MessageButton::Cancel;
    bool checked = false;  // the state of the box's check box, if it had one
};

class Messages {
public:
    virtual ~Messages() = default;

    // One OK button each. An empty caption shows the application's title.
    virtual void Information(const QString& text, const QString& caption = {}) = 0;
    virtual void Warning(const QString& text, const QString& caption = {}) = 0;
    virtual void Error(const QString& text, const QString& caption = {}) = 0;

    // Yes and No; true for Yes.
    virtual bool Confirmation(const QString& text, const QString& caption = {}) = 0;

    // Yes, No and Cancel, with a check box under the text when checkBoxText is
    // not empty (it starts unticked). Closing the box counts as Cancel.
    virtual QuestionAnswer Question(const QString& text, const QString& caption,
                                    const QString& checkBoxText = {},
                                    MessageIcon icon = MessageIcon::Question) = 0;

    virtual void DefaultBeep() = 0;
    virtual void InformationSound() = 0;
};

// The text as shown: CR LF and lone CR become "\n".
QString DisplayText(const QString& text);

}  // namespace quillon
