#pragma once
#include <QColor>
#include <QFont>
#include <QIcon>
#include <QString>
#include <QUrl>

class QLabel;
class QWidget;

namespace vt::WindowStyle {

// Text styles of the windows, sized relative to the desktop's body font.
enum class Text { body, title2, title3, headline, callout, caption };
// Emphasis of a text against the window background.
enum class Tone { primary, secondary, tertiary, green, destructive };

// The desktop's body font with a CJK-capable family, so that Latin and Japanese share one face.
QFont baseFont();
QFont font(Text text);
QColor color(Tone tone);
// The desktop's accent colour (filled buttons, badges of open steps).
QColor accent();
QColor green();

// A label in the given style; wrap makes it break lines and grow in height.
QLabel* label(const QString& text, Text style = Text::body, Tone tone = Tone::primary,
              bool wrap = false);

// Gives the whole window baseFont().
void applyWindowFont(QWidget* window);

// The program's own icon. The application sets it once at start; until then the windows show
// the themed icon of the program or a drawn stand-in.
QIcon appIcon();
void setAppIcon(const QIcon& icon);

// Every occurrence of ".app" removed: the name the windows show for an application.
QString displayName(const QString& name);

} // namespace vt::WindowStyle

namespace vt {
// url with one path component appended ("support/" on ".../vantrel" gives ".../vantrel/support/").
QUrl appendingPathComponent(const QUrl& url, const QString& component);
} // namespace vt
