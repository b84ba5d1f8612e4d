// The plot and statistics windows opened from the main window's menus: what they draw and
// count after real runs, their dialogs, and their life with the system that owns them.
#include <cmath>

#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QToolBar>

#include "core/base/Conversioni.h"
#include "plot/PianoTraiettorie.h"
#include "plot/Scale.h"
#include "plot/VtrSpin.h"
#include "tests/SeparatoreScope.h"
#include "tests/plot/AiutiPiano.h"
#include "tests/ui/Definizione.h"
#include "ui/frame/Main.h"
#include "ui/dialogs/UFasi.h"
#include "ui/windows/UFasiChild.h"
#include "ui/dialogs/USperanza.h"
#include "ui/windows/USperanzaChild.h"
#include "ui/windows/UTraiettorieChild.h"

using namespace prova;

class TestFinestre : public QObject {
    Q_OBJECT

    TRisponditore risponditore_;
    TMainForm* main_ = nullptr;

    QAction* Azione(const char* nome) { return main_->findChild<QAction*>(nome); }
    void AttendiFine() { QTRY_VERIFY_WITH_TIMEOUT(Azione("Eulero05")->isEnabled(), 30000); }
    // "Eulero 0.5..." with n components x_k' = -x_k from 1 on [0, 1].
    void Definisci(int n) {
        static TVisto visto;
        static TDefinizione d;
        d = Decadimento(n, 1, 1);
        risponditore_.Atteso(Compila(d, visto));
        risponditore_.Atteso(Compila(d, visto));
        Azione("Eulero05")->trigger();
        AttendiFine();
    }
    void Ricalcola() {
        Azione("Ricalcola")->trigger();
        AttendiFine();
    }
    // Answers the component list of "&Traiettoria..." or "&Fasi..." by checking components.
    void Scegli(QList<int> componenti) {
        risponditore_.Atteso([componenti](QWidget* w) {
            auto* lista = w->findChild<QListWidget*>("CheckListBox1");
            QVERIFY(lista);
            for (int k : componenti) lista->item(k - 1)->setCheckState(Qt::Checked);
            Clicca(w, "OKBtn");
        });
    }
    template <class T>
    QList<T*> Finestre() {
        QList<T*> trovate;
        for (QMdiSubWindow* s : main_->Area()->subWindowList())
            if (auto* f = qobject_cast<T*>(s->widget())) trovate << f;
        return trovate;
    }
    // The user names the file in the save dialog of the context menu's command; the type
    // comes from the name. Waits until it is written.
    void Salva(TComunePiano* finestra, const char* comando, const QString& file) {
        risponditore_.Atteso([file](QWidget* w) {
            auto* dialogo = qobject_cast<QFileDialog*>(w);
            QVERIFY(dialogo);
            // Typed into the name field: selectFile leaves the field alone once it has focus.
            auto* nome = dialogo->findChild<QLineEdit*>("fileNameEdit");
            QVERIFY(nome);
            nome->setText(file);
            static_cast<QDialog*>(dialogo)->accept();
        });
        QSignalSpy scritto(finestra, &TComunePiano::FileScritto);
        finestra->MenuPiano()->findChild<QAction*>(comando)->trigger();
        QTRY_COMPARE(scritto.size(), 1);
        QCOMPARE(scritto[0], (QVariantList{file, true}));
    }

    // Opens a statistics window; a report expected when it opens is read into errore.
    TSperanzaChild* ApriStatistiche(const QString& funzione, const QString& istante,
                                    TMessaggio* errore = nullptr) {
        risponditore_.Atteso([=](QWidget* w) {
            auto* dialogo = qobject_cast<TSperanza*>(w);
            QVERIFY(dialogo);
            QCOMPARE(dialogo->windowTitle(), QString("Speranza matematica"));
            Digita(dialogo->Funzione(), funzione);
            Digita(dialogo->Istante(), istante);
            Clicca(w, "OKBtn");
        });
        if (errore) risponditore_.Atteso(LeggiMessaggio(*errore));
        Azione("Speranza1")->trigger();
        return Finestre<TSperanzaChild>().value(0);
    }

private slots:
    void initTestCase() { ZittisciAvvisiPiattaforma(); }

    void init() {
        main_ = new TMainForm;
        MostraAttiva(main_);
    }

    void cleanup() { ChiudiFinestraPrincipale(main_, risponditore_); }

    void trajectory_window_draws_the_path_at_one_over_e() {
        Definisci(1);
        Scegli({1});
        Azione("Traiettoria1")->trigger();
        auto* finestra = Finestre<TTraiettorieChild>().value(0);
        QVERIFY(finestra);
        QCOMPARE(finestra->windowTitle(), QString("Piano delle traiettorie, X1"));
        TPianoCartesiano* piano = finestra->Piano();
        const QImage tela = Tela(*piano);
        QVERIFY(Vicino(tela, piano->XToPixel(1), piano->YToPixel(std::exp(-1.0L)), Giallo));
        QVERIFY(main_->menuBar()->actions().contains(
            finestra->findChild<QMenu*>("Funzione1")->menuAction()));
        // Each completed path repaints.
        const int avviati = piano->RidisegniAvviati();
        Ricalcola();
        QTRY_VERIFY(piano->RidisegniAvviati() > avviati);
    }

    void phase_window_needs_exactly_two_components_data() {
        QTest::addColumn<QList<int>>("scelti");
        QTest::addColumn<QString>("titolo");
        QTest::newRow("one") << QList<int>{2} << QString();
        QTest::newRow("three") << QList<int>{1, 2, 3} << QString();
        QTest::newRow("two") << QList<int>{1, 3} << "Piano delle fasi, X1, X3";
    }
    void phase_window_needs_exactly_two_components() {
        QFETCH(QList<int>, scelti);
        QFETCH(QString, titolo);
        Definisci(3);
        Scegli(scelti);
        TMessaggio avviso;
        if (titolo.isEmpty()) risponditore_.Atteso(LeggiMessaggio(avviso));
        Azione("Fasi1")->trigger();
        QCOMPARE(avviso.testo, titolo.isEmpty() ? "Occorre selezionare 2 componenti!" : "");
        const QList<TFasiChild*> fasi = Finestre<TFasiChild>();
        QCOMPARE(fasi.size(), titolo.isEmpty() ? 0 : 1);
        if (fasi.isEmpty()) return;
        QCOMPARE(fasi[0]->windowTitle(), titolo);
        // x1 = x3 = e^-t: down the diagonal from (1, 1) to (1/e, 1/e), where the grid ends.
        TPianoCartesiano* piano = fasi[0]->Piano();
        const QImage tela = Tela(*piano);
        auto curva = [&](Extended v) {
            bool trovata = false;
            for (int dx = -1; dx <= 1; ++dx)
                for (int dy = -1; dy <= 1; ++dy) {
                    const QColor c = tela.pixelColor(piano->XToPixel(v) + dx,
                                                     piano->YToPixel(v) + dy);
                    trovata = trovata || (c.red() == 255 && c.blue() == 0 && c.green() > 200);
                }
            return trovata;
        };
        QVERIFY(curva(0.6L));
        QVERIFY(!curva(0.2L));
    }

    // An ordinary sweep brings no warning: the fixture fails any test on an unexpected box.
    void phase_sweep_that_draws_nothing_is_announced_data() {
        QTest::addColumn<QString>("inizio");
        QTest::addColumn<QString>("fine");
        QTest::addColumn<QString>("passo");
        QTest::addColumn<QString>("avviso");  // how the warning starts
        QTest::newRow("step over the span") << "0" << "1" << "2" << "Il passo supera";
        QTest::newRow("end before start") << "1" << "0" << "0.01" << "Fine non supera";
    }
    void phase_sweep_that_draws_nothing_is_announced() {
        QFETCH(QString, inizio);
        QFETCH(QString, fine);
        QFETCH(QString, passo);
        QFETCH(QString, avviso);
        Definisci(2);
        risponditore_.Atteso([=](QWidget* w) {
            auto* dialogo = qobject_cast<TFasi*>(w);
            for (int k : {0, 1}) dialogo->CheckListBox1()->item(k)->setCheckState(Qt::Checked);
            Digita(dialogo->Inizio(), inizio);
            Digita(dialogo->Fine(), fine);
            Digita(dialogo->Passo(), passo);
            Clicca(w, "OKBtn");
        });
        TMessaggio letto;
        risponditore_.Atteso(LeggiMessaggio(letto));
        Azione("Fasi1")->trigger();
        QVERIFY2(letto.testo.startsWith(avviso), qPrintable(letto.testo));
        // No pixel of the curve's colours, which run from yellow to red.
        const QImage tela = Tela(*Finestre<TFasiChild>().value(0)->Piano());
        for (int x = 0; x < tela.width(); ++x)
            for (int y = 0; y < tela.height(); ++y)
                QVERIFY(qRed(tela.pixel(x, y)) != 255 || qBlue(tela.pixel(x, y)) != 0);
    }

    void statistics_labels_fit_their_values_inside_the_area() {
        main_->resize(520, 420);
        Definisci(1);
        TSperanzaChild* statistiche = ApriStatistiche("x1*1.000000000123+sin(x1)/3", "0.5");
        for (int i = 0; i < 2; ++i) Ricalcola();
        for (QLabel* valore : {statistiche->Funzione(), statistiche->Media(),
                               statistiche->Varianza(), statistiche->Osservazioni()}) {
            QVERIFY2(valore->width() >= valore->sizeHint().width(), qPrintable(valore->text()));
            QVERIFY(statistiche->rect().contains(valore->geometry()));
        }
        const QRect spazio(QPoint(0, 0), main_->Area()->viewport()->size());
        for (QMdiSubWindow* f : main_->Area()->subWindowList())
            QVERIFY(spazio.contains(f->geometry()));
    }

    void statistics_of_a_deterministic_system() {
        Definisci(1);
        TSperanzaChild* statistiche = ApriStatistiche("x1*2+x0", "1");
        QVERIFY(statistiche);
        QCOMPARE(statistiche->Funzione()->text(), QString("x1*2+x0 (1)"));
        QCOMPARE(statistiche->Osservazioni()->text(), QString("0"));
        for (int i = 0; i < 3; ++i) Ricalcola();
        const Extended atteso = main_->Sistema()->Valore(1, 1) * 2 + 1;
        QCOMPARE(statistiche->Osservazioni()->text(), QString("3"));
        QCOMPARE(statistiche->Media()->text(), QString::fromStdString(FloatToStr(atteso)));
        QCOMPARE(statistiche->Varianza()->text(), QString("0"));
        // Without "Contiuno" only the count follows; checking it shows the rest again.
        statistiche->Continuo()->click();
        QTest::mouseClick(statistiche->Button1(), Qt::LeftButton);
        QCOMPARE(statistiche->Osservazioni()->text(), QString("0"));
        QCOMPARE(statistiche->Media()->text(), QString::fromStdString(FloatToStr(atteso)));
        statistiche->Continuo()->click();
        QCOMPARE(statistiche->Media()->text(), QString("0"));
    }

    void statistics_refuse_what_they_cannot_compute_data() {
        QTest::addColumn<QString>("funzione");
        QTest::addColumn<QString>("istante");
        QTest::addColumn<QString>("inApertura");  // the report when the window opens
        QTest::addColumn<QString>("inEsecuzione");  // the report of the next run
        QTest::addColumn<QString>("etichetta");     // what the window says of its function
        QTest::newRow("instant is no number") << "x1" << "abc" << "abc" << "" << "N/A";
        QTest::newRow("instant outside the grid")
            << "x1" << "5" << "" << "Out of range!" << "x1 (5)";
        // Reported once when typed; the runs then go on without it.
        QTest::newRow("variable above the dimension")
            << "x2" << "0.5" << "Variable not allowed here!" << "" << "(nessuna funzione)";
    }
    void statistics_refuse_what_they_cannot_compute() {
        QFETCH(QString, funzione);
        QFETCH(QString, istante);
        QFETCH(QString, inApertura);
        QFETCH(QString, inEsecuzione);
        QFETCH(QString, etichetta);
        Definisci(1);
        TMessaggio apertura, esecuzione;
        TSperanzaChild* statistiche =
            ApriStatistiche(funzione, istante, inApertura.isEmpty() ? nullptr : &apertura);
        QVERIFY(apertura.testo.contains(inApertura));
        if (!inEsecuzione.isEmpty()) risponditore_.Atteso(LeggiMessaggio(esecuzione));
        Ricalcola();
        QVERIFY2(esecuzione.testo.contains(inEsecuzione), qPrintable(esecuzione.testo));
        QCOMPARE(statistiche->Osservazioni()->text(), QString("0"));
        QCOMPARE(statistiche->Distribuzione1().Osservazioni(), 0);
        QCOMPARE(statistiche->Funzione()->text(), etichetta);
    }

    void a_new_system_frees_its_windows_but_not_a_free_plane() {
        Definisci(2);
        Scegli({1});
        Azione("Traiettoria1")->trigger();
        Scegli({1, 2});
        Azione("Fasi1")->trigger();
        ApriStatistiche("x1", "0.5");
        Azione("PianoCartesiano1")->trigger();
        QCOMPARE(main_->Area()->subWindowList().size(), 4);
        // A closed window is no longer told of new paths.
        main_->Area()->subWindowList().first()->close();
        Ricalcola();
        QCOMPARE(Finestre<TSperanzaChild>()[0]->Osservazioni()->text(), QString("1"));
        Definisci(1);
        QTRY_COMPARE(main_->Area()->subWindowList().size(), 1);
        QCOMPARE(main_->Area()->subWindowList()[0]->windowTitle(), QString("Piano Cartesiano"));
    }

    void free_plane_adds_typed_functions() {
        Azione("PianoCartesiano1")->trigger();
        auto* finestra = Finestre<TTraiettorieChild>().value(0);
        QVERIFY(finestra);
        auto aggiungi = [&](const QString& testo, TMessaggio* errore = nullptr) {
            risponditore_.Atteso([testo](QWidget* w) {
                auto* box = qobject_cast<QInputDialog*>(w);
                QVERIFY(box);
                QCOMPARE(box->windowTitle(), QString("Inserire funzione"));
                QCOMPARE(box->labelText(), QString("Y = F(x0)"));
                QCOMPARE(box->textValue(), QString("x0"));
                box->setTextValue(testo);
                box->accept();
            });
            if (errore) risponditore_.Atteso(LeggiMessaggio(*errore));
            finestra->findChild<QAction*>("Aggiungi1")->trigger();
        };
        TMessaggio errore;
        aggiungi("sin(", &errore);
        QVERIFY(errore.testo.contains("at position"));
        aggiungi("x1");  // compiles, but every evaluation fails
        aggiungi("sin(x0)*5");
        QCOMPARE(finestra->PianoTraiettorie1()->NumFunzioni(), 2);
        TPianoCartesiano* piano = finestra->Piano();
        const QImage tela = Tela(*piano);
        for (Extended x : {0.2L, 5.0L, 9.8L})
            QVERIFY(Vicino(tela, piano->XToPixel(x), piano->YToPixel(5 * std::sin(x)), Giallo));
        QApplication::clipboard()->clear();
        finestra->CopiaImmagine();
        QCOMPARE(QApplication::clipboard()->image().convertToFormat(tela.format()),
                 piano->Immagine());
        QVERIFY(piano->Immagine() != tela);  // the scales come with the picture
        finestra->MenuPiano()->findChild<QAction*>("Scale1")->trigger();
        finestra->CopiaImmagine();
        QCOMPARE(QApplication::clipboard()->image().convertToFormat(tela.format()), tela);
    }

    // dX = 0.1 X dt + 0.2 X dW from 1 on [0, 1]: a path near 1 ... 1.2 in a view of
    // 0 ... 10 x -10 ... 10 until the user asks for the fit.
    void fit_fills_the_window_with_a_gbm_path() {
        static TVisto visto;
        static TDefinizione d;
        d.origini = {"1"};
        d.derive = {"0.1*x1"};
        d.diffusioni = {{"0.2*x1"}};
        risponditore_.Atteso(Compila(d, visto));
        risponditore_.Atteso(Compila(d, visto));
        Azione("Eulero05")->trigger();
        AttendiFine();
        Scegli({1});
        Azione("Traiettoria1")->trigger();
        auto* finestra = Finestre<TTraiettorieChild>().value(0);
        TPianoCartesiano* piano = finestra->Piano();
        QCOMPARE(piano->DX(), 10.0L);
        finestra->MenuPiano()->findChild<QAction*>("Adatta1")->trigger();
        QTRY_VERIFY(piano->DX() != 10);
        const QImage tela = Tela(*piano);
        int alto = tela.height(), basso = -1, gialli = 0;
        for (int x = 0; x < tela.width(); ++x)
            for (int y = 0; y < tela.height(); ++y)
                if (Pixel(tela, x, y) == Giallo) {
                    alto = std::min(alto, y);
                    basso = std::max(basso, y);
                    ++gialli;
                }
        QVERIFY(gialli > tela.width() / 2);
        QVERIFY2(basso - alto >= 0.8 * tela.height(), qPrintable(QString::number(basso - alto)));
        TSistema& sistema = *main_->Sistema();
        for (int i = 0; i < sistema.NumPunti() - 1; ++i) {
            const Extended t = sistema.Inizio() + i * sistema.Passo();
            const QPoint p(piano->XToPixel(t), piano->YToPixel(sistema.Valore(1, t)));
            QVERIFY2(piano->rect().contains(p), qPrintable(QString::number(double(t))));
        }
        auto* dx = finestra->findChild<TFloatSpinEdit*>("Edit1");
        QCOMPARE(StrToFloat(dx->text().toStdString()), piano->DX());
    }

    void exports_the_path_as_csv_and_the_picture_as_svg() {
        Definisci(2);
        Scegli({2});
        Azione("Traiettoria1")->trigger();
        auto* finestra = Finestre<TTraiettorieChild>().value(0);
        QTemporaryDir cartella;
        const QString csv = cartella.filePath("traiettoria.csv");
        {
            SeparatoreScope virgola(',');  // the file keeps '.' whatever the screen shows
            Salva(finestra, "EsportaDati1", csv);
        }
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList righe = QString(file.readAll()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(righe.first(), QString("t,X2"));
        TSistema& sistema = *main_->Sistema();
        // Every grid point up to Fine: the table's last point may lie past it.
        QVERIFY(righe.size() - 1 >= sistema.NumPunti() - 2);
        QCOMPARE(righe[1].section(',', 0, 0), QString("0"));
        for (const QString& riga : righe.mid(1)) {
            const QStringList campi = riga.split(',');
            QCOMPARE(campi.size(), 2);
            const Extended t = strtold(campi[0].toLatin1().data(), nullptr);
            QCOMPARE(strtold(campi[1].toLatin1().data(), nullptr), sistema.Valore(2, t));
        }

        const QString svg = cartella.filePath("figura.svg");
        Salva(finestra, "SalvaImmagine1", svg);
        QVERIFY(QSvgRenderer(svg).isValid());
        QFile testo(svg);
        QVERIFY(testo.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&testo);
        QStringList scritte;
        int tracciati = 0;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement) continue;
            if (xml.name() == u"text")
                scritte << xml.readElementText(QXmlStreamReader::IncludeChildElements);
            tracciati += xml.name() == u"path";
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QVERIFY(tracciati >= 1);
        const TScale scale = CalcolaScale(*finestra->Piano());
        for (const TTacca& t : scale.x)
            if (!t.testo.isEmpty()) QVERIFY2(scritte.contains(t.testo), qPrintable(t.testo));
    }

    void tool_buttons_choose_the_mouse_mode() {
        Azione("PianoCartesiano1")->trigger();
        auto* finestra = Finestre<TTraiettorieChild>().value(0);
        const std::pair<const char*, TPCMode> pulsanti[] = {
            {"ToolButton1", TPCMode::pcmZoom}, {"ToolButton2", TPCMode::pcmMove},
            {"ToolButton3", TPCMode::pcmInvZoom}, {"ToolButton5", TPCMode::pcmNone}};
        for (const auto& [nome, modo] : pulsanti) {
            QTest::mouseClick(finestra->ToolBar()->findChild<QWidget*>(nome), Qt::LeftButton);
            QCOMPARE(finestra->Piano()->PCMode(), modo);
        }
        QCOMPARE(finestra->Piano()->cursor().shape(), Qt::ArrowCursor);
    }
};

QTEST_MAIN(TestFinestre)
#include "test_finestre.moc"
