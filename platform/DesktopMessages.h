#pragma once
// Message boxes shown with QMessageBox, parented to the active window.

#include <memory>

#include <QMessageBox>

#include "platform/Messages.h"

namespace quillon {

class DesktopMessages final : public Messages {
public:
    void Information(const QString& text, const QString& caption = {}) override;
    void Warning(const QString& text, const QString& caption = {}) override;
    void Error(const QString& text, const QString& caption = {}) override;
    bool Confirmation(const QString& text, const QString& caption = {}) override;
    QuestionAnswer Question(const QString& text, const QString& caption,
                            const QString& checkBoxText = {},
                            MessageIcon icon = MessageIcon::Question) override;
    void DefaultBeep() override;
    void InformationSound() override;
};

// The box the question shows, built but not yet shown (tests look at it).
std::unique_ptr<QMessageBox> BuildQuestionBox(const QString& text, const QString& caption,
                                              const QString& checkBoxText, MessageIcon icon,
                                              QWidget* parent = nullptr);

}  // namespace quillon
