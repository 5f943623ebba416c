#pragma once
#include "app/base/Page.h"
#include "hostmouse/HostMouseSettings.h"

#include <QObject>

class QLabel;

namespace orb
{

class FieldCaptions;
class LayoutText;

// The host pointer settings on the advanced page: three eleven-step bars
// (pointer speed, double-click speed, wheel lines) and two switches
// (enhance pointer precision, one screen at a time). A click writes the
// store and applies the values to the desktop at once; every write to the
// mouse applies them again. What this desktop does not take is named in a
// quiet hint line under the bars, never in a message box.
class HostSettingsPanel : public QObject
{
  public:
    // Builds the controls into `page` (gbPage2). They are filled from the
    // desktop (and the store) each time the page is shown, never before the
    // window first shows; only settings changed here are ever written.
    HostSettingsPanel(const PageContext& context, QWidget* page, HostMouseStore& store,
                      HostMouseSystem& system);

    HostMouseSettings& settings() { return settings_; }
    const HostMouseState& state() const { return settings_.state(); }

    // Click handlers; the step is the digits after the image name's prefix.
    void MseSpd_OnClick(QWidget* image);
    void MseDbSpd_OnClick(QWidget* image);
    void MseScrSpd_OnClick(QWidget* image);
    void lbl_IsControlClick();
    void lbl_IsScreenClick();

    // Before every write to the mouse; never fails the write.
    void ApplyHostMouseSettings();
    void RefreshMouseSystemParameterA();
    void RefreshMouseSystemParameterB();

    // Layout step of a language change: pictures (the bar style may have
    // changed with the options), positions, fonts and colours.
    void ApplyLayout(const LayoutText& section);
    void Retranslate();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The page shown: the desktop's current values on the bars.
    void refreshFromDesktop();
    void build();
    void showResult(const HostApplyResult& result);
    void showHint();
    void redrawBar(const QString& bar, int step);
    void redrawSwitches();
    void redraw();
    template <class W = QWidget> W* control(const QString& name) const;

    PageContext context_;
    QWidget* page_;
    HostMouseSettings settings_;
    QLabel* hint_ = nullptr;
    HostApplyResult lastResult_;  // what the hint says, for a language change
    bool desktopAnswered_ = true; // at the last look at the desktop
    bool someUnknown_ = false;    // a bar or switch shown without a value
    FieldCaptions* captions_ = nullptr;
};

} // namespace orb
