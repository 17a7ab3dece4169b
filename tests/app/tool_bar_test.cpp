// The tool bar at the default width: every button shown whatever the font,
// every picture standing out from the bar in a light and a dark palette.

#include "app_fixture.h"

#include <QFile>
#include <QPalette>
#include <QToolButton>
#include <cmath>
#include <map>

namespace {

// The platform theme the test program runs under must be the one its test
// names: the GTK runs check that Qt's GTK plugin is really loaded.
bool GtkThemeLoaded() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libqgtk3.so");
}

void ExpectThemeAsAsked() {
    if (qEnvironmentVariable("QT_QPA_PLATFORMTHEME") == QStringLiteral("gtk3")) {
        EXPECT_TRUE(GtkThemeLoaded());
    }
}

QToolButton* OverflowButton(QToolBar* bar) {
    return bar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"));
}

// The desktop's font: 0 keeps the platform's own (Qt's 9 points, or GTK's).
class TToolBarWidthTest : public ::testing::TestWithParam<int> {};

// WCAG's relative luminance and contrast ratio.
double Luminance(QColor c) {
    const auto channel = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double Contrast(QColor a, QColor b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The colour most pixels of the rectangle have: what a picture there is
// drawn on.
QColor Background(const QImage& image, const QRect& rect) {
    std::map<QRgb, int> count;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            ++count[image.pixel(x, y)];
    QRgb most = 0;
    int seen = 0;
    for (const auto& [rgb, n] : count)
        if (n > seen)
            std::tie(most, seen) = std::tie(rgb, n);
    return QColor(most);
}

// The pixels of the icon, laid over the background, that stand out from it
// by at least 3:1 (the contrast asked of graphics).
int StandingOut(const QIcon& icon, const QSize& size, QIcon::Mode mode, QIcon::State state,
                QColor background) {
    const QImage image =
        icon.pixmap(size, mode, state).toImage().convertToFormat(QImage::Format_ARGB32);
    int standing = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor p = image.pixelColor(x, y);
            const double a = p.alphaF();
            const QColor seen = QColor::fromRgbF(a * p.redF() + (1 - a) * background.redF(),
                                                 a * p.greenF() + (1 - a) * background.greenF(),
                                                 a * p.blueF() + (1 - a) * background.blueF());
            standing += Contrast(seen, background) >= 3;
        }
    return standing;
}

QPalette DarkPalette() {
    QPalette dark(QColor(0x35, 0x35, 0x35), QColor(0x24, 0x24, 0x24));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        dark.setColor(role, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    return dark;
}

QPalette LightPalette() {
    return QPalette(QColor(0xef, 0xef, 0xef));
}

struct TPaletteCase {
    const char* Name;
    std::function<QPalette()> Make; // none: the platform's own palette
};

void PrintTo(const TPaletteCase& palette, std::ostream* out) {
    *out << palette.Name;
}

class TToolBarIconTest : public ::testing::TestWithParam<TPaletteCase> {};

} // namespace

TEST_P(TToolBarWidthTest, EveryButtonShowsAtTheDefaultWidth) {
    ExpectThemeAsAsked();
    if (GetParam() > 0) {
        QFont font = QApplication::font();
        font.setPointSize(GetParam());
        QApplication::setFont(font);
    }
    TAppDir dir;
    TScriptedPort port;
    auto w = ShowWindow(port);
    w->resize(760, 500);
    QApplication::processEvents();
    ASSERT_EQ(w->width(), 760);
    QToolBar* bar = Find<QToolBar>(*w, "MainBar");
    int shown = 0;
    for (QAction* a : bar->actions()) {
        QWidget* button = bar->widgetForAction(a);
        SCOPED_TRACE(a->objectName().toStdString());
        EXPECT_TRUE(button->isVisible()) << "needs " << bar->sizeHint().width() << " px";
        EXPECT_LE(InWindow(button, w.get()).right(), w->width());
        shown += !a->isSeparator() && button->isVisible();
    }
    EXPECT_EQ(shown, 13);
    // Nothing is left for the overflow menu.
    ASSERT_NE(OverflowButton(bar), nullptr);
    EXPECT_FALSE(OverflowButton(bar)->isVisible());
    // The captions stay readable.
    for (QToolButton* button : bar->findChildren<QToolButton*>())
        EXPECT_GE(button->font().pointSizeF(), MinimumCaptionPoints);
}

INSTANTIATE_TEST_SUITE_P(Fonts, TToolBarWidthTest, ::testing::Values(0, 9, 10, 11, 12));

TEST_P(TToolBarIconTest, EveryPictureStandsOutFromTheBar) {
    ExpectThemeAsAsked();
    if (GetParam().Make)
        QApplication::setPalette(GetParam().Make());
    TAppDir dir;
    TScriptedPort port;
    auto w = ShowWindow(port);
    w->resize(760, 500);
    QApplication::processEvents();
    QToolBar* bar = Find<QToolBar>(*w, "MainBar");
    std::vector<QToolButton*> buttons;
    for (QAction* a : bar->actions())
        if (auto* b = qobject_cast<QToolButton*>(bar->widgetForAction(a)))
            buttons.push_back(b);
    ASSERT_EQ(buttons.size(), 13u);
    for (QToolButton* button : buttons) {
        QAction* a = button->defaultAction();
        SCOPED_TRACE(a->objectName().toStdString());
        // Checked and not: a checked button is drawn sunk, on another colour.
        for (bool checked : {false, true}) {
            if (checked && !a->isCheckable())
                continue;
            a->setChecked(checked);
            QApplication::processEvents();
            const QImage shot = bar->grab().toImage();
            const QRect band(button->x() + 3, button->y() + 2, button->width() - 6,
                             bar->iconSize().height() + 4);
            const QColor under = Background(shot, band);
            EXPECT_GE(StandingOut(a->icon(), bar->iconSize(), QIcon::Normal,
                                  checked ? QIcon::On : QIcon::Off, under),
                      20)
                << "on " << under.name().toStdString();
        }
    }
    // The overflow button of a narrower window, on the bar's colour.
    const QColor barColour = Background(bar->grab().toImage(), bar->rect());
    EXPECT_GE(StandingOut(OverflowButton(bar)->icon(), bar->iconSize(), QIcon::Normal, QIcon::Off,
                          barColour),
              20)
        << "on " << barColour.name().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Palettes, TToolBarIconTest,
                         ::testing::Values(TPaletteCase{"Platform", {}},
                                           TPaletteCase{"Light", LightPalette},
                                           TPaletteCase{"Dark", DarkPalette}),
                         [](const auto& info) { return std::string(info.param.Name); });
