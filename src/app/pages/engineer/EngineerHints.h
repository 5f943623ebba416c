#pragma once
#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace orb
{

// ShowHint on the engineering page: while the pointer moves over the page,
// the hint line lbl_Content shows the hint of the control under it, or of
// its nearest enclosing group that has one; the empty text when none has.
class EngineerHints : public QObject
{
  public:
    // Watches the pointer over `page` (gbPage6) for as long as it lives.
    EngineerHints(QWidget* page, QLabel* hintLine, QObject* parent = nullptr);
    ~EngineerHints() override;

    // The hint of `under` (a control of the page, or the page itself) into the hint line.
    void ShowHint(QWidget* under);

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    // The window may take its widgets down before this filter goes.
    QPointer<QWidget> page_;
    QPointer<QLabel> line_;
};

} // namespace orb
