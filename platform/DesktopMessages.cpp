#include "platform/DesktopMessages.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QGuiApplication>

namespace quillon {
namespace {

QString CaptionOrTitle(const QString& caption)
{
    if (!caption.isEmpty())
        return caption;
    QString title = QGuiApplication::applicationDisplayName();
    return title.isEmpty() ? QCoreApplication::applicationName() : title;
}

QMessageBox::StandardButton ShowBox(QMessageBox::Icon icon, const QString& text,
                                    const QString& caption, QMessageBox::StandardButtons buttons,
                                    QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, CaptionOrTitle(caption), DisplayText(text), buttons,
                    QApplication::activeWindow());
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

// The check box of a question sits below the buttons, under the message's
// left edge, as the reminders are designed; the message box itself puts it
// above them. Nothing changes when it is already there.
void PutCheckBoxBelowButtons(QMessageBox& box)
{
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    QCheckBox* check = box.checkBox();
    auto* buttons = box.findChild<QDialogButtonBox*>();
    if (grid == nullptr || check == nullptr || buttons == nullptr) return;
    const int checkAt = grid->indexOf(check);
    const int buttonsAt = grid->indexOf(buttons);
    if (checkAt < 0 || buttonsAt < 0) return;
    int row = 0, column = 0, rows = 0, columns = 0, buttonRow = 0;
    grid->getItemPosition(buttonsAt, &buttonRow, &column, &rows, &columns);
    grid->getItemPosition(checkAt, &row, &column, &rows, &columns);
    if (row > buttonRow) return;
    grid->removeWidget(check);
    grid->addWidget(check, grid->rowCount(), column, 1, columns, Qt::AlignLeft);
}

// The message box lays itself out again when its icon or style changes; the
// check box is put back below the buttons each time the box is shown.
class CheckBoxBelowButtons final : public QObject {
public:
    explicit CheckBoxBelowButtons(QMessageBox* box) : QObject(box) { box->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) PutCheckBoxBelowButtons(*static_cast<QMessageBox*>(watched));
        return false;
    }
};

}  // namespace

void DesktopMessages::Information(const QString& text, const QString& caption)
{
    ShowBox(QMessageBox::Information, text, caption, QMessageBox::Ok, QMessageBox::Ok);
}

void DesktopMessages::Warning(const QString& text, const QString& caption)
{
    ShowBox(QMessageBox::Warning, text, caption, QMessageBox::Ok, QMessageBox::Ok);
}

void DesktopMessages::Error(const QString& text, const QString& caption)
{
    ShowBox(QMessageBox::Critical, text, caption, QMessageBox::Ok, QMessageBox::Ok);
}

bool DesktopMessages::Confirmation(const QString& text, const QString& caption)
{
    return ShowBox(QMessageBox::Question, text, caption, QMessageBox::Yes | QMessageBox::No,
                   QMessageBox::Yes) == QMessageBox::Yes;
}

std::unique_ptr<QMessageBox> BuildQuestionBox(const QString& text, const QString& caption,
                                              const QString& checkBoxText, MessageIcon icon,
                                              QWidget* parent)
{
    auto box = std::make_unique<QMessageBox>(
        icon == MessageIcon::Warning ? QMessageBox::Warning : QMessageBox::Question,
        CaptionOrTitle(caption), DisplayText(text),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box->setDefaultButton(QMessageBox::Yes);
    box->setEscapeButton(QMessageBox::Cancel);
    if (!checkBoxText.isEmpty()) {
        box->setCheckBox(new QCheckBox(checkBoxText, box.get()));
        PutCheckBoxBelowButtons(*box);
        new CheckBoxBelowButtons(box.get());
    }
    return box;
}

QuestionAnswer DesktopMessages::Question(const QString& text, const QString& caption,
                                         const QString& checkBoxText, MessageIcon icon)
{
    auto box = BuildQuestionBox(text, caption, checkBoxText, icon, QApplication::activeWindow());
    const int result = box->exec();
    QuestionAnswer answer;
    switch (result) {
    case QMessageBox::Yes: answer.button = MessageButton::Yes; break;
    case QMessageBox::No: answer.button = MessageButton::No; break;
    default: answer.button = MessageButton::Cancel; break;
    }
    answer.checked = box->checkBox() != nullptr && box->checkBox()->isChecked();
    return answer;
}

void DesktopMessages::DefaultBeep()
{
    QApplication::beep();
}

void DesktopMessages::InformationSound()
{
    // The desktop has no separate "asterisk" sound; the bell stands for it.
    QApplication::beep();
}

}  // namespace quillon
