#pragma once
#include "core/Services.h"

class QWidget;

namespace orb
{

// Services with Qt's dialogs and desktop services.
class QtServices final : public Services
{
  public:
    void setParentWidget(QWidget* w) { parent_ = w; }

    void showMessage(const QString& text, MessageStyle style) override;
    void setMessageFont(const QString& family) override { messageFont_ = family; }
    // The name comes back with the filter's ending (".bin"), and the
    // question about replacing names that very file.
    std::optional<QString> saveFileName(const QString& filter, const QString& suggestedName) override;
    std::optional<QString> openFileName(const QString& filter) override;
    std::optional<QColor> pickColour(const QColor& initial) override;
    void openUrl(const QString& url) override;

  private:
    QWidget* parent_ = nullptr;
    QString messageFont_;
};

// "SaveFile(*.bin)|*.bin" -> "SaveFile(*.bin) (*.bin)", Qt's filter form.
QString toQtFilter(const QString& filter);
// "SaveFile(*.bin)|*.bin" -> "bin", the ending the save dialog adds.
QString filterSuffix(const QString& filter);

} // namespace orb
