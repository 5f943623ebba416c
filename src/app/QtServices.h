#pragma once
#include "core/Services.h"

#include <QFont>

class QWidget;

namespace orb
{

// Services with Qt's dialogs and desktop services.
class QtServices final : public Services
{
  public:
    void setParentWidget(QWidget* w) { parent_ = w; }
    void setDialogFont(const QFont& f) { font_ = f; }

    void showMessage(const QString& text, MessageStyle style) override;
    std::optional<QString> saveFileName(const QString& filter, const QString& suggestedName) override;
    std::optional<QString> openFileName(const QString& filter) override;
    std::optional<QColor> pickColour(const QColor& initial) override;
    void openUrl(const QString& url) override;

  private:
    QWidget* parent_ = nullptr;
    QFont font_;
};

// "SaveFile(*.bin)|*.bin" -> "SaveFile(*.bin) (*.bin)", Qt's filter form.
QString toQtFilter(const QString& filter);

} // namespace orb
