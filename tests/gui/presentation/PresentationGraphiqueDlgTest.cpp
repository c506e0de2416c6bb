#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "app/Registre.h"
#include "presentation/PresentationGraphique.h"
#include "gui/presentation/Chart2D.h"
#include "gui/presentation/ColorSwatch.h"
#include "gui/presentation/PageGraphiqueGeneralDlg.h"
#include "gui/presentation/PageSeriesDlg.h"
#include "gui/presentation/PresentationGraphiqueDlg.h"
#include "tests/support/SettingsFixture.h"

namespace {

class PresentationGraphiqueDlgTest : public SettingsFixture {
protected:
    // Runs the dialog modally; `steps` act on it as a user would, then `close` ends it.
    static void Run(CPresentationGraphiqueDlg& dialog, const std::function<void()>& steps, QPushButton& close)
    {
        QTimer::singleShot(0, &dialog, [&] {
            steps();
            QTest::mouseClick(&close, Qt::LeftButton);
        });
        dialog.exec();
    }

    static void Choose(QComboBox& combo, int index)
    {
        combo.setFocus();
        combo.setCurrentIndex(index);
    }
};

TEST_F(PresentationGraphiqueDlgTest, CancelLeavesTheCallersRecordAndTheDefaultsAlone)
{
    const CPresentationGraphique caller;
    CPresentationGraphiqueDlg dialog(caller);
    Run(
        dialog,
        [&] {
            Choose(dialog.GetPageGeneral().GetType(), 3);
            dialog.GetPageGeneral().GetVisible(3).click();
            dialog.GetDefinirParDefaut().setChecked(true);
        },
        dialog.GetAnnuler());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(caller, CPresentationGraphique());
    EXPECT_EQ(CPresentationGraphique().GetType(), 0);
    // The working copy did change, live.
    EXPECT_EQ(dialog.GetPresentation().GetType(), 3);
}

TEST_F(PresentationGraphiqueDlgTest, OkGivesTheWorkingCopyAndSavesItOnlyWithTheDefaultBox)
{
    for (const bool byDefault : {false, true}) {
        CPresentationGraphique caller;
        CPresentationGraphiqueDlg dialog(caller);
        Run(
            dialog,
            [&] {
                Choose(dialog.GetPageGeneral().GetType(), 6);
                Choose(dialog.GetPageGeneral().GetBordure(2), 9);
                dialog.GetOnglets().setCurrentIndex(1);
                CPageSeriesDlg& series = dialog.GetPageSeries();
                series.GetListe().setCurrentRow(2);
                Choose(series.GetMotif(), series.GetMotif().findText(QStringLiteral("Hachures croisées")));
                Choose(series.GetMotifLignes(), series.GetMotifLignes().findText(QStringLiteral("Pointillé")));
                if (byDefault)
                    dialog.GetDefinirParDefaut().click();
            },
            dialog.GetOk());
        ASSERT_EQ(dialog.result(), QDialog::Accepted);
        caller = dialog.GetPresentation();
        EXPECT_EQ(caller.GetType(), 6);
        EXPECT_EQ(caller.GetBorder(2), 9);
        EXPECT_EQ(caller.GetSerie(2).GetFillPattern(), 11);
        EXPECT_EQ(caller.GetSerie(2).GetLinePattern(), 4);
        EXPECT_EQ(caller.GetSerie(1).GetFillPattern(), 2) << "only the selected series changes";
        const CPresentationGraphique saved;
        EXPECT_EQ(saved.GetType(), byDefault ? 6 : 0);
        EXPECT_EQ(saved.GetSerie(2).GetFillPattern(), byDefault ? 11 : 2);
    }
}

TEST_F(PresentationGraphiqueDlgTest, ThePreviewShowsEachChangeAtOnce)
{
    CPresentationGraphique caller;
    CPresentationGraphiqueDlg dialog(caller);
    CChart2D& preview = dialog.GetApercu();
    EXPECT_EQ(preview.Model().kind, ChartKind::Bars);
    EXPECT_EQ(preview.Model().series.size(), 3u);
    EXPECT_EQ(preview.Model().headerLines, std::vector<std::string>{"Titre"});
    EXPECT_EQ(preview.Model().footerLines, std::vector<std::string>{"Base : 150"});

    Choose(dialog.GetPageGeneral().GetType(), 3);
    EXPECT_EQ(preview.Model().kind, ChartKind::Pie);
    dialog.GetPageGeneral().GetVisible(1).click();
    EXPECT_TRUE(preview.Model().headerLines.empty());
    dialog.GetPageGeneral().GetVisible(3).click();
    EXPECT_FALSE(preview.Model().legendShown);

    CPageSeriesDlg& series = dialog.GetPageSeries();
    series.GetListe().setCurrentRow(1);
    Choose(series.GetSymboles(), series.GetSymboles().findText(QStringLiteral("Etoile")));
    EXPECT_EQ(preview.Model().StyleOf(1)[4], 6);
    // The sample's data never change.
    EXPECT_EQ(preview.Model().series[1].y, (std::vector<double>{25, 40, 35}));
}

TEST_F(PresentationGraphiqueDlgTest, SelectingASeriesShowsItsStyleAndAChosenColourGoesToIt)
{
    CPresentationGraphique caller;
    CPresGraphSerie fifth = caller.GetSerie(4);
    fifth.SetFillPattern(7);
    fifth.SetPointStyle(10);
    fifth.SetLinePattern(6);
    caller.SetSerie(4, fifth);
    CPresentationGraphiqueDlg dialog(caller);
    CPageSeriesDlg& series = dialog.GetPageSeries();
    ASSERT_EQ(series.GetListe().count(), 10);
    EXPECT_EQ(series.GetListe().item(9)->text(), QStringLiteral("Série 10"));
    series.GetListe().setCurrentRow(4);
    EXPECT_EQ(series.GetMotif().currentText(), QStringLiteral("Rayures verticales"));
    EXPECT_EQ(series.GetSymboles().currentText(), QStringLiteral("Cercle"));
    EXPECT_EQ(series.GetMotifLignes().currentText(), QStringLiteral("Traits Long court long"));
    EXPECT_EQ(series.GetCouleur().GetCouleur(), caller.GetSerie(4).GetColor());
    // Selecting shows, it does not change.
    EXPECT_EQ(dialog.GetPresentation(), caller);

    // The colour button opens the colour dialog; its choice becomes the series' colour.
    QTimer::singleShot(0, [] {
        auto* colours = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(colours, nullptr);
        colours->setCurrentColor(QColor(0x12, 0x34, 0x56));
        colours->accept();
    });
    QTest::mouseClick(&series.GetBoutonCouleur(), Qt::LeftButton);
    EXPECT_EQ(dialog.GetPresentation().GetSerie(4).GetColor(), 0x563412u);
    EXPECT_EQ(series.GetCouleur().GetCouleur(), 0x563412u);
}

TEST_F(PresentationGraphiqueDlgTest, ADoubleClickOnAZoneSwatchChangesItsColour)
{
    CPresentationGraphique caller;
    CPresentationGraphiqueDlg dialog(caller);
    dialog.show();
    QTimer::singleShot(0, [] {
        auto* colours = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(colours, nullptr);
        colours->setCurrentColor(QColor(0xFF, 0x00, 0x00));
        colours->accept();
    });
    QTest::mouseDClick(&dialog.GetPageGeneral().GetFond(4), Qt::LeftButton);
    EXPECT_EQ(dialog.GetPresentation().GetBackColor(4), 0x0000FFu);
    EXPECT_EQ(dialog.GetApercu().Model().Region(ChartRegion::Footer).backColor, 0x0000FFu);
}

} // namespace
