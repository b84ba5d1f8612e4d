// The main window without a system: its menus, tool bar, hints, separator, window commands
// and the merging of a child's menus.
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>
#include <QToolButton>

#include "core/base/Conversioni.h"
#include "tests/ui/Modali.h"
#include "ui/frame/ImmaginiAzioni.h"
#include "ui/frame/Main.h"

namespace {

// A child window that brings one menu of its own.
class TFiglioConMenu : public QWidget, public IMenuFiglio {
public:
    TFiglioConMenu(const char* testo, int gruppo)
        : menu_(new QMenu(testo, this)), gruppo_(gruppo) {
        menu_->addAction("&Aggiungi...");
    }
    QList<Voce> MenuFiglio() const override { return {{menu_, gruppo_}}; }
    QMenu* Menu() const { return menu_; }

private:
    QMenu* menu_;
    int gruppo_;
};

// A menu tree as text: caption, [hint], {submenu}; "!" marks a disabled item.
QString Albero(const QList<QAction*>& voci) {
    QStringList parti;
    for (const QAction* voce : voci) {
        if (voce->isSeparator()) {
            parti << "-";
            continue;
        }
        QString testo = (voce->isEnabled() ? "" : "!") + voce->text();
        if (!voce->statusTip().isEmpty()) testo += "[" + voce->statusTip() + "]";
        if (voce->menu()) testo += "{" + Albero(voce->menu()->actions()) + "}";
        parti << testo;
    }
    return parti.join("|");
}

// The menu bar or a menu as object names, "-" for a separator.
QStringList Voci(const QWidget* menu) {
    QStringList nomi;
    for (const QAction* voce : menu->actions())
        nomi << (voce->isSeparator() ? QString("-") : voce->objectName());
    return nomi;
}

}  // namespace

class TestFinestraPrincipale : public QObject {
    Q_OBJECT

    TRisponditore risponditore_;
    TMainForm* main_ = nullptr;

    QAction* Azione(const char* nome) { return main_->findChild<QAction*>(nome); }
    QMdiSubWindow* AggiungiFiglio(QWidget* contenuto, const QString& titolo) {
        contenuto->setWindowTitle(titolo);
        QMdiSubWindow* finestra = main_->Area()->addSubWindow(contenuto);
        finestra->resize(200, 150);
        finestra->show();
        return finestra;
    }
    QStringList Barra() { return Voci(main_->menuBar()); }

private slots:
    // The recent files come from the settings folder the test run gives this program alone: a
    // shared test folder would show those another test program is writing meanwhile.
    void initTestCase() { ZittisciAvvisiPiattaforma(); }

    void init() {
        main_ = new TMainForm;
        MostraAttiva(main_);
    }

    void cleanup() { ChiudiFinestraPrincipale(main_, risponditore_); }

    void starts_with_its_caption_progress_bar_and_separator() {
        QVERIFY(main_->windowTitle().startsWith("Sistemi Dinamici"));
        auto* progresso = main_->findChild<QProgressBar*>("ProgressBar1");
        QCOMPARE(progresso->minimum(), 0);
        QCOMPARE(progresso->maximum(), 100);
        QCOMPARE(progresso->value(), 0);
        // Between the children's area and the status bar.
        const int cima = progresso->mapTo(main_, QPoint(0, 0)).y();
        QVERIFY(cima >= main_->Area()->mapTo(main_, QPoint(0, main_->Area()->height())).y());
        QVERIFY(cima + progresso->height() <= main_->statusBar()->y());
        QCOMPARE(DecimalSeparator(), '.');
        QVERIFY(!main_->Sistema());
    }

    void menus_show_their_items_captions_hints_and_states() {
        // Item text, [hint], {submenu}, "!" for disabled, "-" for a separator.
        QCOMPARE(Albero(main_->menuBar()->actions()),
                 QString("&File[File related commands]{&Apri...[Apre un workspace]|"
                         "&Salva[Salva il workspace]|"
                         "Salva &con nome...[Salva il workspace in un altro file]|-|"
                         "&Debole{&1.0...}|&Forte{Eulero 0.5..."
                         "[Nuovo sistema stocastico, schema di Eulero (ordine forte 0.5)]|"
                         "&Milstein 1.0...|&Uni 1.5...}|De&terministico{Implicit 1.0...|"
                         "Runge-Kutta 5.0...}|-|&Biforcazione...[Bifurcation diagram and "
                         "Lyapunov exponent]|-|E&xit[Exit the application]}|"
                         "!Sis&tema{&Traiettoria...|&Fasi...|-|&Speranza...|-|"
                         "!Ricalcola[Ricalcola]|!Ricalcola &N...|"
                         "!Ricalcolo &parallelo...[Ricalcola molti percorsi su tutti i "
                         "processori]|"
                         "!Interrompi[Interrompe il ricalcolo dopo il percorso in corso]|-|"
                         "&Opzioni...}|"
                         "!&Biforcazione{&Diagramma|&Iterazioni|&Lyapunov|I&terata}|"
                         "&Strumenti{&Separatore{&Italiano (,)|Ingl&ese (.)}|Avvia &DDE...|"
                         "&Memoria|-|&Piano Cartesiano}|"
                         "&Window[Window related commands such as Tile and Cascade]{"
                         "!&Cascade[Arrange windows to overlap]|"
                         "!&Tile[Arrange windows without overlap]|"
                         "!&Arrange Icons[Arrange window icons at bottom of main window]|"
                         "!&Minimize All[Minimize all windows]}|&Help[Help topics]{&About}"));
        const QStringList nomi = {
            "File1", "Apri1", "Salva1", "SalvaConNome1", "Debole1", "N101", "Nuovo1", "Eulero05", "Milstein101", "Uni151",
            "Deterministico1", "Implicit101", "RungeKutta401", "Biforcazione1", "FileExitItem",
            "Sistema1", "Traiettoria1", "Fasi1", "Speranza1", "Ricalcola", "RicalcolaN1",
            "RicalcoloParallelo1", "Interrompi", "Opzioni1", "Biforcazione2", "Diagramma1",
            "Iterazioni1", "Lyapunov1",
            "Iterata1", "Opzioni2", "Separatore1", "Italiano1", "Inglese1", "AvviaDDE1",
            "Memoria1", "PianoCartesiano1", "Window1", "WindowCascadeItem", "WindowTileItem",
            "WindowArrangeItem", "WindowMinimizeItem", "Help1", "HelpAboutItem"};
        for (const QString& nome : nomi)
            QVERIFY2(main_->findChildren<QAction*>(nome).size() == 1, qPrintable(nome));
        QCOMPARE(Voci(main_->findChild<QMenu*>("Nuovo1")),
                 QStringList({"Eulero05", "Milstein101", "Uni151"}));
    }

    void tool_bar_buttons_share_the_actions() {
        const std::pair<const char*, const char*> pulsanti[] = {
            {"ToolButton1", "Ricalcola"},
            {"ToolButton2", "Interrompi"},
            {"ToolButton4", "Eulero05"}};
        for (const auto& [pulsante, azione] : pulsanti) {
            auto* button = main_->findChild<QToolButton*>(pulsante);
            QVERIFY2(button && button->defaultAction() == Azione(azione), pulsante);
            QCOMPARE(button->width(), 26);
            QCOMPARE(button->isEnabled(), Azione(azione)->isEnabled());
        }
        QVERIFY(main_->findChild<QMenu*>("Nuovo1")->actions().contains(Azione("Eulero05")));
    }

    void separator_items_are_one_exclusive_group() {
        QAction* italiano = Azione("Italiano1");
        QAction* inglese = Azione("Inglese1");
        QVERIFY(inglese->isChecked() && !italiano->isChecked());
        for (int volta = 0; volta < 2; ++volta) {  // choosing the checked item keeps it
            italiano->trigger();
            QCOMPARE(DecimalSeparator(), ',');
            QVERIFY(italiano->isChecked() && !inglese->isChecked());
        }
        inglese->trigger();
        QCOMPARE(DecimalSeparator(), '.');
        QVERIFY(inglese->isChecked() && !italiano->isChecked());
    }

    void status_bar_shows_the_hint_of_the_item_under_the_mouse() {
        auto* file = main_->findChild<QMenu*>("File1");
        QMenuBar* barra = main_->menuBar();
        QTest::mouseClick(barra, Qt::LeftButton, {},
                          barra->actionGeometry(file->menuAction()).center());
        QVERIFY(QTest::qWaitForWindowExposed(file));
        QAction* exit = Azione("FileExitItem");
        // A menu ignores the mouse until it has moved away from where the menu opened.
        QTest::mouseMove(file, QPoint(file->width() / 2, 2));
        QTest::mouseMove(file, file->actionGeometry(exit).center());
        QTRY_COMPARE(main_->statusBar()->currentMessage(), QString("Exit the application"));
        QAction* biforcazione = Azione("Biforcazione1");
        QTest::mouseMove(file, file->actionGeometry(biforcazione).center());
        QTRY_COMPARE(main_->statusBar()->currentMessage(),
                     QString("Bifurcation diagram and Lyapunov exponent"));
        file->close();
    }

    void running_state_disables_what_changes_the_system_and_refuses_closing() {
        main_->InizioRicalcolo(5);
        const std::pair<const char*, bool> inCorsa[] = {
            {"Ricalcola", false},   {"Interrompi", true},      {"Eulero05", false},
            {"RicalcolaN1", false}, {"Debole1", false},        {"Nuovo1", false},
            {"Opzioni1", false},    {"Deterministico1", false}, {"Traiettoria1", true},
            {"Fasi1", true},        {"Speranza1", true},       {"Biforcazione1", true},
            {"RicalcoloParallelo1", false}};
        for (const auto& [nome, abilitato] : inCorsa)
            QVERIFY2(Azione(nome)->isEnabled() == abilitato, nome);
        auto* progresso = main_->findChild<QProgressBar*>("ProgressBar1");
        QCOMPARE(progresso->maximum(), 5);
        QCOMPARE(progresso->value(), 0);
        TMessaggio rifiuto;
        risponditore_.Atteso(LeggiMessaggio(rifiuto));
        Azione("FileExitItem")->trigger();
        QVERIFY(main_->isVisible());
        QVERIFY2(rifiuto.testo.contains("\"Interrompi\""), qPrintable(rifiuto.testo));
        main_->FineRicalcolo();
        for (const auto& [nome, abilitato] : inCorsa)
            QVERIFY2(Azione(nome)->isEnabled() == (QString(nome) != "Interrompi"), nome);
        Azione("FileExitItem")->trigger();
        QVERIFY(!main_->isVisible());
    }

    void window_commands_are_enabled_exactly_with_children() {
        const char* comandi[] = {"WindowCascadeItem", "WindowTileItem", "WindowArrangeItem",
                                 "WindowMinimizeItem"};
        QMdiSubWindow* figlio = AggiungiFiglio(new QWidget, "uno");
        for (const char* nome : comandi) QTRY_VERIFY2(Azione(nome)->isEnabled(), nome);
        delete figlio;
        for (const char* nome : comandi) QTRY_VERIFY2(!Azione(nome)->isEnabled(), nome);
    }

    void cascade_keeps_each_size_and_shrinks_only_what_does_not_fit() {
        const QRect spazio(QPoint(0, 0), main_->Area()->viewport()->size());
        const QSize dimensioni[] = {{459, 300}, {250, 171}, {spazio.width() + 300, 120}};
        QList<QMdiSubWindow*> finestre;
        for (const QSize& d : dimensioni) {
            finestre << AggiungiFiglio(new QWidget, "figlio");
            finestre.last()->setGeometry(QRect(QPoint(40, 200), d));
        }
        main_->Area()->setActiveSubWindow(finestre[0]);
        Azione("WindowCascadeItem")->trigger();
        QCOMPARE(finestre[0]->size(), dimensioni[0]);
        QCOMPARE(finestre[1]->size(), dimensioni[1]);
        QCOMPARE(finestre[2]->size(), QSize(spazio.width(), 120));
        // Overlapping down and right, the active one in front.
        QVERIFY(finestre[0]->x() > finestre[1]->x() && finestre[0]->y() > finestre[1]->y());
        QCOMPARE(main_->Area()->subWindowList(QMdiArea::StackingOrder).last(), finestre[0]);
        for (QMdiSubWindow* f : finestre) QVERIFY(spazio.contains(f->geometry()));
    }

    void children_open_inside_the_area_with_the_program_icon() {
        main_->resize(620, 480);
        for (int i = 0; i < 5; ++i) Azione("PianoCartesiano1")->trigger();
        Azione("Memoria1")->trigger();
        const QRect spazio(QPoint(0, 0), main_->Area()->viewport()->size());
        const QImage icona = IconaProgramma().pixmap(16).toImage();
        QVERIFY(!icona.isNull());
        for (QMdiSubWindow* f : main_->Area()->subWindowList()) {
            QVERIFY2(spazio.contains(f->geometry()), qPrintable(f->windowTitle()));
            QCOMPARE(f->windowIcon().pixmap(16).toImage(), icona);
        }
    }

    void ctrl_f4_closes_the_active_child() {
        QMdiSubWindow* primo = AggiungiFiglio(new QWidget, "Primo");
        QPointer<QMdiSubWindow> secondo = AggiungiFiglio(new QWidget, "Secondo");
        main_->Area()->setActiveSubWindow(secondo);
        QTest::qWait(20);  // the user's key comes once the children are shown
        QTest::keyClick(main_, Qt::Key_F4, Qt::ControlModifier);
        QTRY_VERIFY(!secondo);
        QCOMPARE(main_->Area()->subWindowList(), QList<QMdiSubWindow*>{primo});
    }

    void tile_places_children_side_by_side_data() {
        QTest::addColumn<int>("figli");
        QTest::addColumn<int>("colonne");
        QTest::newRow("two") << 2 << 2;
        QTest::newRow("three") << 3 << 3;
        QTest::newRow("four in two columns") << 4 << 2;
    }
    void tile_places_children_side_by_side() {
        QFETCH(int, figli);
        QFETCH(int, colonne);
        QList<QMdiSubWindow*> finestre;
        for (int i = 0; i < figli; ++i)
            finestre << AggiungiFiglio(new QWidget, QString::number(i));
        Azione("WindowTileItem")->trigger();
        const QSize spazio = main_->Area()->viewport()->size();
        QSet<int> xs;
        int area = 0;
        for (QMdiSubWindow* f : finestre) {
            xs << f->x();
            area += f->width() * f->height();
            QVERIFY(QRect(QPoint(0, 0), spazio).contains(f->geometry()));
            QVERIFY(std::abs(f->width() - spazio.width() / colonne) <= 1);
            for (QMdiSubWindow* g : finestre)
                if (g != f) QVERIFY(!f->geometry().intersects(g->geometry()));
        }
        QCOMPARE(int(xs.size()), colonne);
        QVERIFY(area >= spazio.width() * spazio.height() - 2 * spazio.height() * colonne);
    }

    void minimize_all_then_arrange_icons_lines_them_up_at_the_bottom() {
        QList<QMdiSubWindow*> finestre;
        for (int i = 0; i < 3; ++i) finestre << AggiungiFiglio(new QWidget, QString::number(i));
        Azione("WindowMinimizeItem")->trigger();
        for (QMdiSubWindow* f : finestre) QVERIFY(f->isMinimized());
        for (QMdiSubWindow* f : finestre) f->move(37 * f->x() % 200, 40);
        Azione("WindowArrangeItem")->trigger();
        const int fondo = main_->Area()->viewport()->height();
        for (QMdiSubWindow* f : finestre) {
            QCOMPARE(f->geometry().bottom() + 1, fondo);
            for (QMdiSubWindow* g : finestre)
                if (g != f) QVERIFY(!f->geometry().intersects(g->geometry()));
        }
    }

    void window_menu_lists_the_children_and_activates_one() {
        QMdiSubWindow* primo = AggiungiFiglio(new QWidget, "Primo");
        AggiungiFiglio(new QWidget, "Secondo");
        main_->Area()->setActiveSubWindow(main_->Area()->subWindowList().last());
        auto* menu = main_->findChild<QMenu*>("Window1");
        menu->popup(main_->mapToGlobal(QPoint(10, 10)));
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        QAction* voce = nullptr;
        QStringList testi;
        for (QAction* a : menu->actions()) {
            testi << a->text();
            if (a->text() == "&1 Primo") voce = a;
        }
        QVERIFY2(voce, qPrintable(testi.join("|")));
        QVERIFY(testi.contains("&2 Secondo"));
        menu->close();
        voce->trigger();
        QCOMPARE(main_->Area()->activeSubWindow(), primo);
    }

    void an_active_child_brings_its_menu_between_tools_and_window() {
        auto* conMenu = new TFiglioConMenu("Fun&zione", 1);
        QMdiSubWindow* figlio = AggiungiFiglio(conMenu, "con menu");
        QMdiSubWindow* semplice = AggiungiFiglio(new QWidget, "semplice");
        main_->Area()->setActiveSubWindow(figlio);
        const QStringList unito = {"File1", "Sistema1", "Biforcazione2", "Opzioni2", "",
                                   "Window1", "Help1"};
        QTRY_COMPARE(Barra(), unito);
        QCOMPARE(main_->menuBar()->actions()[4], conMenu->Menu()->menuAction());
        main_->Area()->setActiveSubWindow(semplice);
        QTRY_COMPARE(Barra().size(), 6);
        main_->Area()->setActiveSubWindow(figlio);
        QTRY_COMPARE(Barra(), unito);
        delete figlio;  // its menu goes with it
        QTRY_COMPARE(Barra().size(), 6);
        QVERIFY(!Barra().contains(""));
    }

    void a_child_menu_of_the_window_group_takes_its_place() {
        auto* conMenu = new TFiglioConMenu("&Finestra", 2);
        main_->Area()->setActiveSubWindow(AggiungiFiglio(conMenu, "gruppo 2"));
        QTRY_COMPARE(Barra(), QStringList({"File1", "Sistema1", "Biforcazione2", "Opzioni2", ""}));
        QCOMPARE(main_->menuBar()->actions().last()->text(), QString("&Finestra"));
    }
};

QTEST_MAIN(TestFinestraPrincipale)
#include "test_finestra_principale.moc"
