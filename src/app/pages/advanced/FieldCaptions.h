#pragma once
#include <QColor>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QString>

#include <array>
#include <functional>

class QLabel;
class QWidget;

namespace orb
{

// Captions the page pictures do not carry: a label beside a control, placed
// from the control's position after each layout, texted per language.
class FieldCaptions : public QObject
{
  public:
    enum class Side { Above, Left, Right };
    struct Caption {
        const char* name;   // the caption's objectName
        const char* anchor; // the control it names
        Side side;
        int width;
        int sizeStep;                    // font size over the page's text size
        std::array<const char*, 3> text; // languages 1..3
        QPoint shift{};                  // moved by this after placing
    };

    // `click`, when given, runs for a click on the caption of that name.
    FieldCaptions(QWidget* page, QList<Caption> captions,
                  std::function<void(const QString& name)> click = {});

    // After the controls were placed: positions, font size and colour.
    void place(int pointSize, const QColor& colour);
    void retranslate(int language);

  private:
    QWidget* page_;
    QList<Caption> captions_;
};

} // namespace orb
