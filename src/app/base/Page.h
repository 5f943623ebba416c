#pragma once
#include <QObject>
#include <QString>
#include <QWidget>
#include <functional>

namespace orb
{

class ButtonHover;
class DeviceSession;
class LayoutText;
class PageStack;
class Skin;
struct ConfigImage;

// What every page is built on: the window and its page container, the skin
// (pictures, texts, layout sections), the pointer pictures of skinned
// buttons, and the device session (image, busy bracket, transfers).
struct PageContext {
    QWidget* window;
    PageStack& stack;
    Skin& skin;
    ButtonHover& hover;
    DeviceSession& session;
    // Closes every open menu of every page (HideAllMenu).
    std::function<void()> hideAllMenu;
};

// One page of the window. It owns the widgets it creates (parented into its
// container, found by their objectNames) and its state; the window calls
// the hooks below at the language change and the no-device reset, and
// PageMapping calls its steps of UIToDataBuf, DataBufToUI and RefreshUI.
class Page : public QObject
{
  public:
    // `number`: the container gbPage<number> (1..4, 6) the page builds into.
    Page(const PageContext& context, int number);

    QWidget* container() const { return container_; }

    // Layout step of a language change: positions and sizes from the
    // current layout section (after the common rows of the skin).
    virtual void ApplyLayout(const LayoutText& section);
    // Text step of a language change, after the common captions.
    virtual void Retranslate();
    // The no-device reset: what the page shows of the last mouse goes
    // (before the default image is shown through DataBufToUI).
    virtual void ResetNoDevice();
    // The mouse was lost (after the no-device reset).
    virtual void DeviceLost();

  protected:
    const PageContext& context() const { return context_; }
    Skin& skin() const { return context_.skin; }
    DeviceSession& session() const { return context_.session; }
    ButtonHover& hover() const { return context_.hover; }
    PageStack& stack() const { return context_.stack; }
    QWidget* window() const { return context_.window; }
    ConfigImage& image() const;
    // A control of this page by objectName; null when absent.
    template <class W = QWidget> W* control(const QString& name) const
    {
        return container_->findChild<W*>(name);
    }

  private:
    PageContext context_;
    QWidget* container_;
};

} // namespace orb
