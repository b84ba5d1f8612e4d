// The tool windows: the splash on the first activation only, the about box with the version
// section of the program's file, and the memory window with its period and counters.
#include <cmath>
#include <cstdlib>

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableWidget>

#include "tests/plot/AiutiPiano.h"
#include "plot/PianoTraiettorie.h"
#include "tests/ui/Modali.h"
#include "ui/frame/Main.h"
#include "ui/windows/UAboutBox.h"
#include "ui/windows/UMemoryStatus.h"
#include "ui/windows/USplashScreen.h"
#include "ui/frame/VersioneEseguibile.h"

using namespace prova;

namespace {

const QStringList DieciChiavi = {"CompanyName",      "FileDescription", "FileVersion",
                                 "InternalName",     "LegalCopyright",  "LegalTradeMarks",
                                 "OriginalFileName", "ProductName",     "ProductVersion",
                                 "Comments"};

}  // namespace

namespace {
constexpr bool SottoAddressSanitizer() {
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#endif
#endif
    return false;
}
}  // namespace

class TestStrumenti : public QObject {
    Q_OBJECT

    TRisponditore risponditore_;
    TMainForm* main_ = nullptr;

    void Mostra() {
        main_->show();
        main_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main_));
    }
    TMemoryStatus* Memoria() {
        main_->findChild<QAction*>("Memoria1")->trigger();
        return main_->MemoryStatus();
    }
    // The ten counters; a label that is not a number reads as 0.
    static QList<quint64> Contatori(TMemoryStatus* memoria) {
        QList<quint64> valori;
        for (QLabel* etichetta : memoria->Valori()) valori << etichetta->text().toULongLong();
        return valori;
    }

private slots:
    void initTestCase() { ZittisciAvvisiPiattaforma(); }
    void init() { main_ = new TMainForm; }
    void cleanup() {
        delete main_;
        ControllaFineTest(risponditore_);
    }

    void splash_shows_on_the_first_activation_only_and_closes_at_a_click() {
        TSplashScreen splash;
        main_->SetSplash(&splash);
        QSignalSpy scadenze(splash.Timer1(), &QTimer::timeout);
        bool mostrato = false;
        risponditore_.Atteso([&](QWidget* w) {
            QCOMPARE(w, &splash);
            QCOMPARE(splash.size(), QSize(321, 321));
            QVERIFY(splash.Timer1()->isActive() && splash.Timer1()->interval() == 3000);
            QTest::mouseClick(splash.Image1(), Qt::LeftButton);
            QVERIFY(!splash.isVisible());
            mostrato = true;
        });
        Mostra();
        QTRY_VERIFY(mostrato);
        QVERIFY(!splash.Timer1()->isActive());
        // Later activations show nothing: the fixture fails on any modal window.
        QWidget altra;
        altra.show();
        altra.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&altra));
        altra.close();
        Mostra();
        QTest::qWait(100);
        QCOMPARE(scadenze.count(), 0);
    }

    void splash_draws_the_logistic_diagram_and_closes_after_three_seconds() {
        TSplashScreen splash;
        QSignalSpy scadenze(splash.Timer1(), &QTimer::timeout);
        splash.show();
        TPianoCartesiano* piano = splash.Image1();
        const QImage tela = Tela(*piano);
        // The two-cycle at 3.2, and chaos filling much of the column at 3.9.
        const int colonna = piano->XToPixel(3.2L);
        const Extended l = piano->PixelToX(colonna);
        const Extended r = std::sqrt((l - 3) * (l + 1));
        QVERIFY(Vicino(tela, colonna, piano->YToPixel((l + 1 - r) / (2 * l)), Bianco));
        QVERIFY(Vicino(tela, colonna, piano->YToPixel((l + 1 + r) / (2 * l)), Bianco));
        QVERIFY(!Vicino(tela, colonna, piano->YToPixel(1 - 1 / l), Bianco));
        QVERIFY(ContaColonna(tela, piano->XToPixel(3.9L), Bianco) > 40);
        QTRY_VERIFY_WITH_TIMEOUT(!splash.isVisible(), 6000);
        QCOMPARE(scadenze.count(), 1);
    }

    void version_section_is_read_from_the_program_only_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("chiavi");
        QTest::newRow("program") << QString(VANTOR_ESEGUIBILE) << DieciChiavi;
        QTest::newRow("test program") << QCoreApplication::applicationFilePath() << QStringList();
        QTest::newRow("text file") << QString(__FILE__) << QStringList();
        QTest::newRow("missing file") << QString("/nonexistent/vantor") << QStringList();
    }

    void version_section_is_read_from_the_program_only() {
        QFETCH(QString, file);
        QFETCH(QStringList, chiavi);
        QStringList lette, griglia;
        for (const TVoceVersione& voce : LeggiVersione(file.toStdString()))
            lette << QString::fromStdString(voce.chiave);
        const TAboutBox about(nullptr, file.toStdString());
        for (int r = 0; r < about.VersionInfo()->rowCount(); ++r)
            griglia << about.VersionInfo()->item(r, 0)->text();
        QCOMPARE(lette, chiavi);
        QCOMPARE(griglia, chiavi);
    }

    void about_is_modal_hidden_between_showings_and_closed_by_ok() {
        TAboutBox about(nullptr, VANTOR_ESEGUIBILE);
        main_->SetAboutBox(&about);
        Mostra();
        for (int volta = 0; volta < 2; ++volta) {
            risponditore_.Atteso([&](QWidget* w) {
                QCOMPARE(w, &about);
                QCOMPARE(about.windowTitle(), QString("About"));
                QCOMPARE(about.ProductName()->text(),
                         QString("Risolutore numerico di Sistemi dinamici continui e discreti"));
                QCOMPARE(about.VersionInfo()->item(7, 1)->text(), QString("Vantor"));
                QVERIFY(about.OKButton()->isDefault());
                QCOMPARE(about.focusWidget(), about.OKButton());
                Clicca(w, "OKButton");
            });
            main_->findChild<QAction*>("HelpAboutItem")->trigger();
            QVERIFY(!about.isVisible());
            QCOMPARE(about.result(), int(QDialog::Accepted));
        }
        main_->SetAboutBox(nullptr);  // then the main window makes its own
        risponditore_.Atteso([](QWidget* w) {
            QVERIFY(qobject_cast<TAboutBox*>(w));
            Clicca(w, "OKButton");
        });
        main_->findChild<QAction*>("HelpAboutItem")->trigger();
    }

    void memory_window_is_one_at_a_time_its_period_set_by_the_track_bar_data() {
        QTest::addColumn<int>("tasto");
        QTest::addColumn<int>("periodo");
        QTest::newRow("10 ms") << int(Qt::Key_Home) << 10;
        QTest::newRow("2 s") << int(Qt::Key_End) << 2000;
    }

    void memory_window_is_one_at_a_time_its_period_set_by_the_track_bar() {
        QFETCH(int, tasto);
        QFETCH(int, periodo);
        Mostra();
        QPointer<TMemoryStatus> memoria = Memoria();
        QCOMPARE(memoria->windowTitle(), QString("Situazione memoria"));
        QCOMPARE(Memoria(), memoria);
        QCOMPARE(main_->Area()->subWindowList().size(), 1);
        QVERIFY(!(memoria->parentWidget()->windowFlags() & Qt::WindowMaximizeButtonHint));
        memoria->TrackBar1()->setFocus();
        QTest::keyClick(memoria->TrackBar1(), Qt::Key(tasto));
        QCOMPARE(memoria->Timer1()->interval(), periodo);
        QSignalSpy scatti(memoria->Timer1(), &QTimer::timeout);
        QTest::qWait(500);
        QVERIFY(scatti.count() >= (periodo == 10 ? 5 : 0) && scatti.count() <= 500 / periodo);
        // Closed, it gives way to a fresh one.
        main_->Area()->subWindowList().first()->close();
        QTRY_VERIFY(!memoria && !main_->MemoryStatus());
        memoria = Memoria();
        QVERIFY(memoria && memoria->Timer1()->isActive());
        QCOMPARE(memoria->TrackBar1()->value(), 1000);
        QCOMPARE(memoria->Timer1()->interval(), 1000);
    }

    void counters_are_empty_before_the_first_tick_then_consistent_numbers() {
        Mostra();
        TMemoryStatus* memoria = Memoria();
        QStringList nomi;
        for (QLabel* valore : memoria->Valori()) nomi << valore->objectName() + valore->text();
        QCOMPARE(nomi, QStringList({"TAS", "TU", "TC", "TA", "TF", "FS", "FB", "U", "OH", "HEC"}));
        memoria->TrackBar1()->setValue(10);
        QTRY_VERIFY(!memoria->Valori()[0]->text().isEmpty());
        if (SottoAddressSanitizer())
            QSKIP("the address sanitizer replaces the C library's allocator and its statistics");
        const QList<quint64> v = Contatori(memoria);
        QVERIFY(v[0] > 0 && v[3] > 0);
        QCOMPARE(v[0], v[1] + v[2]);         // address space = uncommitted + committed
        QCOMPARE(v[2], v[3] + v[4] + v[8]);  // committed = allocated + free + overhead
        QCOMPARE(v[4], v[5] + v[6] + v[7]);  // free = small + big + unused
        // A 64 MiB block shows in the allocated bytes at the next tick.
        void* (*volatile riserva)(std::size_t) = std::malloc;
        constexpr quint64 Blocco = 64u << 20;
        void* blocco = riserva(Blocco);
        QTRY_VERIFY(Contatori(memoria)[3] >= v[3] + Blocco);
        std::free(blocco);
        QTRY_VERIFY(Contatori(memoria)[3] < v[3] + Blocco);
    }
};

QTEST_MAIN(TestStrumenti)
#include "test_strumenti.moc"
