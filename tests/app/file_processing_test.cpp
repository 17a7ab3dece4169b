#include "app_fixture.h"

#include "processing/processing_actions.h"
#include "processing/result_texts.h"
#include "view/canvas_checks.h"
#include "view/display_color.h"
#include "view/plot_geometry.h"
#include "view/plot_widget.h"
#include "view/status_bar_widget.h"
#include "view/visir_controller.h"
#include "view/visir_panel_widget.h"

#include <QAction>
#include <QToolBar>
#include <algorithm>

namespace {

struct TSpectrumTest : ::testing::Test {
    TAppDir Dir;
    TScriptedPort Port;
    QString File = Dir.Path("lines.kav");
    std::unique_ptr<TKavMainForm> W;

    void SetUp() override {
        WriteTestSpectrum(File);
        W = ShowWindow(Port);
        Port.OpenAnswers << File;
        MenuItem(*W, "Спектр", "Открыть...")->trigger();
        ASSERT_EQ(W->windowTitle(), QStringLiteral("Kavis - lines.kav"));
    }

    TValueFormat Format() const { return TValueFormat(W->Settings(), QLocale().decimalPoint()[0]); }
    QAction* ToolButton(const char* name) const {
        for (QAction* a : W->MainBar()->actions())
            if (a->objectName() == QLatin1StringView(name))
                return a;
        return nullptr;
    }
    QAction* Functions(const QString& caption) const { return MenuItem(*W, "Функции", caption); }
    bool PlotHolds(int x, int y, const QString& text) const {
        const TKavCfg& c = W->Settings();
        return HoldsLabel(W->Plot()->Canvas(), W->Plot()->LabelFont(), x, y, text,
                          ToRgb(c.DisplayColors.BackGround), ToRgb(c.DisplayColors.Text));
    }
    int TextWidth(const QString& text) const {
        return QFontMetrics(W->Plot()->LabelFont(), &W->Plot()->Canvas()).horizontalAdvance(text);
    }
    void StandVisirs() { MenuItem(*W, "Вид", "Установить визиры")->trigger(); }
};

} // namespace

TEST_F(TSpectrumTest, OpenDialogIsConfiguredAndTheFileEntersTheRecentList) {
    ASSERT_EQ(Port.OpenRequests.size(), 1u);
    const TFileDialogRequest& request = Port.OpenRequests[0];
    EXPECT_EQ(request.Title, QStringLiteral("Открыть фаил спектра"));
    EXPECT_EQ(request.Filter, QStringLiteral("Файлы спектров (*.kav)"));
    EXPECT_EQ(request.DefaultSuffix, QStringLiteral("kav"));
    EXPECT_EQ(request.Directory, Dir.Dir.path());
    EXPECT_FALSE(request.ConfirmOverwrite);
    EXPECT_EQ(W->Settings().LastOpen, File);
    EXPECT_EQ(W->Settings().WorkDir, Dir.Dir.path() + "/");
    EXPECT_EQ(W->RecentFiles(), QStringList{File});
    EXPECT_EQ(W->Actions().RecentFilesMenu->actions()[0]->text(), "0 - " + File);
    EXPECT_EQ(W->StatusPanels()->Panel(5), QStringLiteral("PR: 3"));
    // A cancelled dialog changes nothing.
    MenuItem(*W, "Спектр", "Открыть...")->trigger();
    EXPECT_EQ(W->windowTitle(), QStringLiteral("Kavis - lines.kav"));
    EXPECT_EQ(W->Settings().WorkDir, Dir.Dir.path() + "/");
}

TEST_F(TSpectrumTest, UnreadableFileShowsItsNameAndChangesNothing) {
    const QString bad = Dir.Path("folder.kav");
    ASSERT_TRUE(QDir(Dir.Dir.path()).mkdir("folder.kav"));
    Port.OpenAnswers << bad;
    MenuItem(*W, "Спектр", "Открыть...")->trigger();
    ASSERT_EQ(Port.Errors.size(), 1);
    EXPECT_TRUE(Port.Errors[0].contains(QStringLiteral("folder.kav")));
    EXPECT_EQ(W->windowTitle(), QStringLiteral("Kavis - lines.kav"));
    EXPECT_EQ(W->Settings().LastOpen, File);
    EXPECT_EQ(W->RecentFiles().size(), 1);
    EXPECT_EQ(W->Points()[1000].X, 1000);
}

TEST_F(TSpectrumTest, SaveAsWritesTheFileAndReportsAFailure) {
    const QString copy = Dir.Path("sub/copy.kav");
    ASSERT_TRUE(QDir(Dir.Dir.path()).mkdir("sub"));
    Port.SaveAnswers << copy << Dir.Path("missing/dir/x.kav");
    MenuItem(*W, "Спектр", "Сохранить...")->trigger();
    ASSERT_EQ(Port.SaveRequests.size(), 1u);
    EXPECT_EQ(Port.SaveRequests[0].Title, QStringLiteral("Сохранить фаил спектра"));
    EXPECT_TRUE(Port.SaveRequests[0].ConfirmOverwrite);
    EXPECT_EQ(Port.SaveRequests[0].DefaultSuffix, QStringLiteral("kav"));
    auto original = std::make_unique<TPointTable>();
    auto saved = std::make_unique<TPointTable>();
    auto scratch = std::make_unique<TPointTable>();
    ASSERT_EQ(LoadSpectrumFile(File, *original, *scratch), TLoadOutcome::Loaded);
    ASSERT_EQ(LoadSpectrumFile(copy, *saved, *scratch), TLoadOutcome::Loaded);
    EXPECT_TRUE(std::equal(original->begin(), original->begin() + 65520, saved->begin()));
    EXPECT_EQ(W->Settings().WorkDir, Dir.Path("sub") + "/");
    EXPECT_EQ(W->windowTitle(), QStringLiteral("Kavis - lines.kav"));
    EXPECT_EQ(W->RecentFiles().size(), 1);
    MenuItem(*W, "Спектр", "Сохранить...")->trigger();
    ASSERT_EQ(Port.Errors.size(), 1);
    EXPECT_TRUE(Port.Errors[0].contains(QStringLiteral("x.kav")));
    EXPECT_EQ(W->Settings().WorkDir, Dir.Path("sub") + "/");
}

TEST_F(TSpectrumTest, CloseAndRecentItemReopen) {
    MenuItem(*W, "Спектр", "Закрыть")->trigger();
    EXPECT_EQ(W->windowTitle(), QStringLiteral("КАВ"));
    EXPECT_FALSE(W->Actions().ASaveFileAs->isEnabled());
    EXPECT_EQ(W->Points()[1000].Y, EmptyY);
    EXPECT_EQ(W->Settings().LastOpen, QString());
    W->Actions().RecentFilesDropDown->actions()[0]->trigger();
    EXPECT_EQ(W->windowTitle(), QStringLiteral("Kavis - lines.kav"));
    EXPECT_EQ(W->Points()[1000].X, 1000);
}

TEST_F(TSpectrumTest, VisirActionsNeedBothVisirs) {
    const std::uint16_t before = W->Points()[20000].Y;
    const struct {
        QAction* Action;
        QString Warning;
    } cases[] = {
        {Functions("Выравнивание"), TProcessingActions::EqualizeVisirWarning},
        {Functions("Интеграл"), TProcessingActions::IntegrVisirWarning},
        {ToolButton("AMinMax"), TProcessingActions::MinMaxVisirWarning},
        {Functions("Отношение пиков"), TProcessingActions::DivisionVisirWarning},
    };
    for (const auto& c : cases) {
        ASSERT_NE(c.Action, nullptr);
        Port.Warnings.clear();
        c.Action->trigger();
        EXPECT_EQ(Port.Warnings, QStringList{c.Warning});
    }
    EXPECT_EQ(W->Points()[20000].Y, before);
    EXPECT_FALSE(W->Actions().ABackUp->isEnabled());
    EXPECT_EQ(W->Results().MaxCount, 0);
}

TEST_F(TSpectrumTest, MinMaxDrawsPairAmplitudesAndVisirsShowTheDistance) {
    StandVisirs();
    const TValueFormat f = Format();
    EXPECT_EQ(W->StatusPanels()->Panel(7), "dH=" + f.FieldToStr(65400 - 50));
    EXPECT_TRUE(W->VisirPanel(1)->isVisible());
    EXPECT_EQ(W->VisirPanel(1)->AbscissaText(), f.FieldToStr(50));
    EXPECT_EQ(W->VisirPanel(2)->AbscissaText(), f.FieldToStr(65400));
    ToolButton("AMinMax")->trigger();
    const TSpectrumResults& r = W->Results();
    ASSERT_EQ(r.PairCount, 3);
    ASSERT_GE(r.MaxCount, 3);
    ASSERT_GE(r.MinCount, 3);
    // Rightmost pair first: the weakest line of the three.
    EXPECT_LT(r.PairAmplitudes[0], r.PairAmplitudes[1]);
    const TPlotGeometry& g = W->Plot()->Geometry();
    for (int k = 0; k < r.PairCount; ++k) {
        const QString label = PairAmplitudeText(f, r.PairAmplitudes[k]);
        const int middle =
            (W->Points()[r.MinPositions[k]].X + W->Points()[r.MaxPositions[k]].X) / 2;
        const int tw = TextWidth(label);
        EXPECT_TRUE(PlotHolds(KeepLabelInside(g.XOfCode(middle) - tw / 2, tw, g.W), 2, label))
            << label.toStdString();
    }
    EXPECT_FALSE(W->Actions().ABackUp->isEnabled());
}

TEST_F(TSpectrumTest, IntegralShowsTheAreaAndUndoRestores) {
    StandVisirs();
    const std::uint16_t before = W->Points()[20000].Y;
    Functions("Интеграл")->trigger();
    const double area = W->Results().Area;
    ASSERT_GE(area, 0);
    EXPECT_NE(W->Points()[20000].Y, before);
    EXPECT_TRUE(W->Actions().ABackUp->isEnabled());
    const QString label = AreaText(Format(), area);
    ASSERT_TRUE(label.startsWith(QStringLiteral("S=")));
    const int middle = (W->Visirs().VisirX(1) + W->Visirs().VisirX(2)) / 2;
    const int tw = TextWidth(label);
    const int th = QFontMetrics(W->Plot()->LabelFont(), &W->Plot()->Canvas()).height();
    EXPECT_TRUE(
        PlotHolds(KeepLabelInside(middle - tw / 2, tw, W->Plot()->Geometry().W), th, label));
    Functions("Отмена")->trigger();
    EXPECT_EQ(W->Points()[20000].Y, before);
    EXPECT_FALSE(W->Actions().ABackUp->isEnabled());
}

TEST_F(TSpectrumTest, SmoothingFilterAndEqualizeChangeTheStoreAndEnableUndo) {
    StandVisirs();
    // Visir 1 on the first line's flank, so the baseline has a slope.
    W->Visirs().SetVisir1(19200);
    const struct {
        QAction* Action;
    } cases[] = {
        {ToolButton("AGliss")}, {W->findChild<QAction*>("AFilter")}, {Functions("Выравнивание")}};
    for (const auto& c : cases) {
        ASSERT_NE(c.Action, nullptr);
        SCOPED_TRACE(c.Action->objectName().toStdString());
        const TPointTable before = W->Points();
        c.Action->trigger();
        EXPECT_NE(W->Points(), before);
        EXPECT_TRUE(W->Actions().ABackUp->isEnabled());
        ToolButton("ABackUp")->trigger();
        EXPECT_EQ(W->Points(), before);
        EXPECT_FALSE(W->Actions().ABackUp->isEnabled());
    }
    EXPECT_TRUE(Port.Warnings.isEmpty());
}

TEST_F(TSpectrumTest, PeakRatioIsShownTopLeft) {
    StandVisirs();
    Functions("Отношение пиков")->trigger();
    const TSpectrumResults& r = W->Results();
    ASSERT_NE(r.TibaAmp, 0);
    ASSERT_NE(r.TitanAmp, 0);
    const QString label = PeakRatioText(Format(), r);
    EXPECT_TRUE(label.startsWith(QStringLiteral("Tiba/Titan=")));
    EXPECT_TRUE(PlotHolds(2, 2, label));
}

TEST_F(TSpectrumTest, DpphFrequencyThenGFactorsInTheVisirReadouts) {
    StandVisirs();
    Functions("Отображать g-фактор")->trigger();
    EXPECT_EQ(Port.Warnings, QStringList{TProcessingActions::NoFrequencyWarning});
    EXPECT_FALSE(W->Actions().AGShow->isChecked());
    Port.Warnings.clear();
    Functions("Расcчитать частоту по ДФПГ")->trigger();
    EXPECT_EQ(Port.Warnings, QStringList{TProcessingActions::DpphWarning});
    ASSERT_EQ(Port.Infos.size(), 1);
    EXPECT_TRUE(Port.Infos[0].startsWith(TProcessingActions::DpphResultPrefix + "f="));
    EXPECT_GT(W->Settings().ResonatorFreq, 0);
    Functions("Отображать g-фактор")->trigger();
    EXPECT_TRUE(W->Actions().AGShow->isChecked());
    EXPECT_TRUE(W->VisirPanel(1)->AbscissaText().startsWith(QStringLiteral("g=")));
    // Undo forgets the frequency: fields come back.
    ToolButton("AGliss")->trigger();
    ToolButton("ABackUp")->trigger();
    EXPECT_FALSE(W->Actions().AGShow->isChecked());
    EXPECT_EQ(W->Settings().ResonatorFreq, 0);
    EXPECT_EQ(W->VisirPanel(1)->AbscissaText(), Format().FieldToStr(50));
}
