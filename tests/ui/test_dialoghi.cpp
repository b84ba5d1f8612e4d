// The system definition dialogs, shown and driven as a user drives them.
#include <QClipboard>
#include <QLabel>
#include <QSignalSpy>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>

#include "core/base/Conversioni.h"
#include "tests/ui/Modali.h"
#include "ui/widgets/SpinEdit.h"
#include "ui/widgets/StringGrid.h"
#include "ui/dialogs/UCoefficienti.h"
#include "ui/dialogs/UDimensioni.h"
#include "ui/dialogs/UDiscreto.h"
#include "ui/dialogs/UFasi.h"
#include "ui/dialogs/UParametri.h"
#include "ui/dialogs/UParametriIter.h"
#include "ui/dialogs/USperanza.h"

namespace {

// The label that names a control in its dialog.
QString Etichetta(QWidget* dialogo, QWidget* controllo) {
    for (QLabel* label : dialogo->findChildren<QLabel*>())
        if (label->buddy() == controllo) return label->text();
    return {};
}

QStringList Pagine(const TCoefficienti& dialogo) {
    QStringList titoli;
    for (int i = 0; i < dialogo.PageControl1()->count(); ++i)
        titoli << dialogo.PageControl1()->tabText(i);
    return titoli;
}

QStringList Colonna(const TStringGrid* grid, int colonna) {
    QStringList celle;
    for (int riga = 0; riga < grid->RowCount(); ++riga) celle << grid->Cella(colonna, riga);
    return celle;
}

QStringList Riga(const TStringGrid* grid, int riga) {
    QStringList celle;
    for (int colonna = 0; colonna < grid->ColCount(); ++colonna)
        celle << grid->Cella(colonna, riga);
    return celle;
}

void Mostra(QWidget* dialogo) {
    dialogo->show();
    dialogo->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dialogo));
}

std::unique_ptr<QDialog> CreaDialogo(const QString& classe) {
    if (classe == "TDimensioni") return std::make_unique<TDimensioni>();
    if (classe == "TDimensioniS") return std::make_unique<TDimensioniS>();
    if (classe == "TCoefficienti") return std::make_unique<TCoefficienti>();
    if (classe == "TCoefficientiS") return std::make_unique<TCoefficientiS>();
    if (classe == "TCoefficientiSD") return std::make_unique<TCoefficientiSD>();
    if (classe == "TTraiettorie") return std::make_unique<TTraiettorie>();
    if (classe == "TFasi") return std::make_unique<TFasi>();
    if (classe == "TSperanza") return std::make_unique<TSperanza>();
    if (classe == "TDiscreto") return std::make_unique<TDiscreto>();
    if (classe == "TParametriIter") return std::make_unique<TParametriIter>();
    return std::make_unique<TParametri>();
}

}  // namespace

class TestDialoghi : public QObject {
    Q_OBJECT

    TRisponditore risponditore_;

private slots:
    void initTestCase() { ZittisciAvvisiPiattaforma(); }

    void cleanup() {
        SetDecimalSeparator('.');
        ControllaFineTest(risponditore_);
    }

    void ok_accepts_and_cancel_rejects_every_dialog_data() {
        QTest::addColumn<QString>("classe");
        QTest::addColumn<QString>("titolo");
        const std::pair<const char*, const char*> dialoghi[] = {
            {"TDimensioni", "Dimensioni"},       {"TDimensioniS", "Dimensioni"},
            {"TCoefficienti", "Coefficienti"},   {"TCoefficientiS", "Coefficienti"},
            {"TCoefficientiSD", "Coefficienti"}, {"TParametri", "Parametri"}};
        for (const auto& [classe, titolo] : dialoghi)
            QTest::newRow(classe) << QString(classe) << QString(titolo);
    }
    void ok_accepts_and_cancel_rejects_every_dialog() {
        QFETCH(QString, classe);
        QFETCH(QString, titolo);
        for (const char* pulsante : {"OKBtn", "CancelBtn"}) {
            const std::unique_ptr<QDialog> dialogo = CreaDialogo(classe);
            QCOMPARE(dialogo->metaObject()->className(), classe);
            QCOMPARE(dialogo->windowTitle(), titolo);
            risponditore_.Atteso([pulsante](QWidget* w) { Clicca(w, pulsante); });
            const int esito = dialogo->exec();
            QCOMPARE(esito, QString(pulsante) == "OKBtn" ? QDialog::Accepted : QDialog::Rejected);
        }
    }

    void dimension_dialogs_show_their_labels_ranges_and_defaults() {
        TDimensioniS dialogo;
        const std::tuple<TSpinEdit*, const char*, const char*, int, int> spin[] = {
            {dialogo.SpinEdit1(), "SpinEdit1", "Dimensione sistema:", 1, 99},
            {dialogo.SpinEdit2(), "SpinEdit2", "Numero moti:", 0, 99}};
        for (const auto& [edit, nome, etichetta, minimo, massimo] : spin) {
            QCOMPARE(edit->objectName(), QString(nome));
            QCOMPARE(Etichetta(&dialogo, edit), QString(etichetta));
            QCOMPARE(edit->minimum(), minimo);
            QCOMPARE(edit->maximum(), massimo);
            QCOMPARE(edit->Value(), 1);
        }
        QVERIFY(!TDimensioni().findChild<TSpinEdit*>("SpinEdit2"));
        TParametri parametri;
        for (QLineEdit* edit : {parametri.Inizio(), parametri.Fine(), parametri.Passo()}) {
            QCOMPARE(edit->text(), QString());
            QCOMPARE(Etichetta(&parametri, edit), edit->objectName() + ":");
        }
    }

    void tab_follows_the_layout_in_every_dialog_data() {
        QTest::addColumn<QString>("classe");
        for (const char* classe :
             {"TDimensioni", "TDimensioniS", "TCoefficienti", "TCoefficientiS", "TCoefficientiSD",
              "TParametri", "TTraiettorie", "TFasi", "TSperanza", "TDiscreto", "TParametriIter"})
            QTest::newRow(classe) << QString(classe);
    }
    void tab_follows_the_layout_in_every_dialog() {
        QFETCH(QString, classe);
        const std::unique_ptr<QDialog> dialogo = CreaDialogo(classe);
        if (auto* componenti = qobject_cast<TTraiettorie*>(dialogo.get()))
            componenti->ImpostaComponenti(2);
        Mostra(dialogo.get());
        // What the user reads: top to bottom, then left to right.
        QList<QWidget*> lettura;
        for (QWidget* w : dialogo->findChildren<QWidget*>())
            if (w->isVisible() && (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy())
                lettura << w;
        auto posizione = [&](QWidget* w) {
            const QPoint centro = w->mapTo(dialogo.get(), w->rect().center());
            return std::pair(centro.y(), centro.x());
        };
        std::sort(lettura.begin(), lettura.end(),
                  [&](QWidget* a, QWidget* b) { return posizione(a) < posizione(b); });
        auto nome = [](QWidget* w) {
            return w->metaObject()->className() + (":" + w->objectName());
        };
        QStringList attesi, visitati;
        for (QWidget* w : lettura) attesi << nome(w);
        lettura.first()->setFocus();
        for (int i = 0; i <= lettura.size(); ++i) {
            QWidget* w = QApplication::focusWidget();
            visitati << nome(w);
            QTest::keyClick(w, Qt::Key_Tab);
        }
        QCOMPARE(visitati, attesi + attesi.mid(0, 1));
    }

    void ctrl_tab_and_ctrl_page_keys_switch_coefficient_pages() {
        TCoefficientiS dialogo;
        dialogo.ImpostaDimensioniMoti(1, 1);
        Mostra(&dialogo);
        dialogo.StringGrid1()->setFocus();
        const std::tuple<Qt::Key, Qt::KeyboardModifiers, int> tasti[] = {
            {Qt::Key_Tab, Qt::ControlModifier, 1},
            {Qt::Key_PageDown, Qt::ControlModifier, 2},
            {Qt::Key_PageDown, Qt::ControlModifier, 0},
            {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, 2},
            {Qt::Key_PageUp, Qt::ControlModifier, 1}};
        for (const auto& [tasto, modificatori, pagina] : tasti) {
            QTest::keyClick(QApplication::focusWidget(), tasto, modificatori);
            QCOMPARE(dialogo.PageControl1()->currentIndex(), pagina);
            // The typing goes on in the grid of the page shown.
            QCOMPARE(QApplication::focusWidget(), dialogo.PageControl1()->currentWidget()
                                                      ->findChild<TStringGrid*>());
        }
        // Also from inside a cell being typed.
        QTest::keyClicks(dialogo.StringGrid2(), "x");
        QVERIFY(dialogo.StringGrid2()->indexWidget(dialogo.StringGrid2()->currentIndex()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(dialogo.PageControl1()->currentIndex(), 2);
    }

    void formula_fields_take_a_pasted_text_whole() {
        const QString lunga = "x1" + QString("+x1").repeated(20000);  // 60,002 characters
        QApplication::clipboard()->setText(lunga);
        auto incolla = [&](QLineEdit* edit) {
            edit->setFocus();
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
            return edit->text().size();
        };
        TSperanza speranza;
        Mostra(&speranza);
        QCOMPARE(incolla(speranza.Funzione()), lunga.size());
        TCoefficienti coefficienti;
        Mostra(&coefficienti);
        coefficienti.PageControl1()->setCurrentIndex(1);
        TStringGrid* deriva = coefficienti.StringGrid2();
        deriva->setFocus();
        QTest::keyClick(deriva, Qt::Key_F2);
        auto* cella = qobject_cast<QLineEdit*>(deriva->indexWidget(deriva->currentIndex()));
        QVERIFY(cella);
        QCOMPARE(incolla(cella), lunga.size());
    }

    void spin_edits_bring_typed_values_into_range_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("digitato");
        QTest::addColumn<int>("valore");
        QTest::newRow("dimension in range") << "SpinEdit1" << "42" << 42;
        QTest::newRow("dimension above") << "SpinEdit1" << "150" << 99;
        QTest::newRow("dimension below") << "SpinEdit1" << "0" << 1;
        QTest::newRow("dimension negative") << "SpinEdit1" << "-5" << 1;
        QTest::newRow("dimension empty") << "SpinEdit1" << "" << 1;
        QTest::newRow("dimension letters are refused") << "SpinEdit1" << "x7y" << 7;
        QTest::newRow("motions zero") << "SpinEdit2" << "0" << 0;
        QTest::newRow("motions above") << "SpinEdit2" << "1000" << 99;
        QTest::newRow("motions only a sign") << "SpinEdit2" << "-" << 0;
    }
    void spin_edits_bring_typed_values_into_range() {
        QFETCH(QString, edit);
        QFETCH(QString, digitato);
        QFETCH(int, valore);
        TDimensioniS dialogo;
        Mostra(&dialogo);
        auto* spin = dialogo.findChild<TSpinEdit*>(edit);
        Digita(spin, digitato);
        // Read while still typed, and again after the focus has left.
        QCOMPARE(spin->Value(), valore);
        QWidget* altro = edit == "SpinEdit1" ? dialogo.SpinEdit2() : dialogo.SpinEdit1();
        altro->setFocus();
        QTRY_VERIFY(altro->hasFocus());
        QCOMPARE(spin->value(), valore);
        QCOMPARE(spin->text(), QString::number(valore));
    }

    void enter_in_a_spin_edit_confirms_the_clamped_value() {
        TDimensioni dialogo;
        risponditore_.Atteso([&](QWidget*) {
            Digita(dialogo.SpinEdit1(), "123");
            QTest::keyClick(dialogo.SpinEdit1(), Qt::Key_Return);
        });
        QCOMPARE(dialogo.exec(), QDialog::Accepted);
        QCOMPARE(dialogo.SpinEdit1()->Value(), 99);
    }

    void coefficient_dialog_shows_pages_edits_and_row_labels() {
        TCoefficienti dialogo;
        QCOMPARE(Pagine(dialogo), QStringList({"Origine", "Deriva"}));
        QVERIFY(!dialogo.StringGrid3());
        const std::tuple<QLineEdit*, const char*, const char*, const char*> campi[] = {
            {dialogo.Inizio(), "Inizio", "Inizio:", "0"},
            {dialogo.Fine(), "Fine", "Fine:", "10"},
            {dialogo.Passo(), "Passo", "Passo:", "0.01"}};
        for (const auto& [edit, nome, etichetta, testo] : campi) {
            QCOMPARE(edit->objectName(), QString(nome));
            QCOMPARE(Etichetta(&dialogo, edit), QString(etichetta));
            QCOMPARE(edit->text(), QString(testo));
        }
        QCOMPARE(dialogo.StringGrid1()->columnWidth(0), 100);
        QCOMPARE(dialogo.StringGrid1()->columnWidth(1), 180);
        dialogo.ImpostaDimensione(3);
        for (TStringGrid* grid : {dialogo.StringGrid1(), dialogo.StringGrid2()}) {
            QCOMPARE(grid->ColCount(), 2);
            QCOMPARE(Colonna(grid, 0), QStringList({"", "X1", "X2", "X3"}));
        }
        QCOMPARE(dialogo.StringGrid1()->Cella(1, 0), QString());
        QCOMPARE(dialogo.StringGrid2()->Cella(1, 0), QString("dt"));
    }

    void full_diffusion_grid_follows_dimensions_and_motions_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("m");
        QTest::addColumn<QStringList>("intestazioni");
        QTest::addColumn<QStringList>("righe");
        QTest::newRow("3 x 2") << 3 << 2 << QStringList({"", "dB1", "dB2"})
                               << QStringList({"", "X1", "X2", "X3"});
        QTest::newRow("1 x 0") << 1 << 0 << QStringList({""}) << QStringList({"", "X1"});
        QTest::newRow("2 x 4") << 2 << 4 << QStringList({"", "dB1", "dB2", "dB3", "dB4"})
                               << QStringList({"", "X1", "X2"});
    }
    void full_diffusion_grid_follows_dimensions_and_motions() {
        QFETCH(int, n);
        QFETCH(int, m);
        QFETCH(QStringList, intestazioni);
        QFETCH(QStringList, righe);
        TCoefficientiS dialogo;
        QCOMPARE(Pagine(dialogo), QStringList({"Origine", "Deriva", "Diffusione"}));
        dialogo.ImpostaDimensioniMoti(n, m);
        Mostra(&dialogo);
        dialogo.PageControl1()->setCurrentIndex(2);
        TStringGrid* diffusione = dialogo.StringGrid3();
        QCOMPARE(diffusione->objectName(), QString("StringGrid3"));
        QCOMPARE(Riga(diffusione, 0), intestazioni);
        QCOMPARE(Colonna(diffusione, 0), righe);
        QCOMPARE(diffusione->isVisible(), m >= 1);
        QCOMPARE(dialogo.StringGrid1()->RowCount(), n + 1);
        QCOMPARE(dialogo.StringGrid2()->RowCount(), n + 1);
    }

    void diagonal_diffusion_grid_has_one_column() {
        TCoefficientiSD dialogo;
        dialogo.ImpostaDiagonale(3);
        QCOMPARE(Pagine(dialogo), QStringList({"Origine", "Deriva", "Diffusione"}));
        QCOMPARE(Riga(dialogo.StringGrid3(), 0), QStringList({"", "diagonale"}));
        QCOMPARE(Colonna(dialogo.StringGrid3(), 0), QStringList({"", "X1", "X2", "X3"}));
        QCOMPARE(Colonna(dialogo.StringGrid2(), 0), QStringList({"", "X1", "X2", "X3"}));
    }

    void step_is_written_with_the_separator_in_force_data() {
        QTest::addColumn<QString>("classe");
        QTest::addColumn<char>("separatore");
        QTest::addColumn<QString>("passo");
        for (const char* classe : {"TCoefficienti", "TCoefficientiS", "TCoefficientiSD"}) {
            QTest::addRow("%s '.'", classe) << QString(classe) << '.' << "0.01";
            QTest::addRow("%s ','", classe) << QString(classe) << ',' << "0,01";
        }
    }
    void step_is_written_with_the_separator_in_force() {
        QFETCH(QString, classe);
        QFETCH(char, separatore);
        QFETCH(QString, passo);
        SetDecimalSeparator(separatore);
        const std::unique_ptr<QDialog> dialogo = CreaDialogo(classe);
        QCOMPARE(dialogo->findChild<QLineEdit*>("Passo")->text(), passo);
    }

    void typed_cells_are_read_at_their_column_and_row() {
        TCoefficientiS dialogo;
        dialogo.ImpostaDimensioniMoti(2, 2);
        Mostra(&dialogo);
        dialogo.PageControl1()->setCurrentIndex(2);
        TStringGrid* grid = dialogo.StringGrid3();
        ScriviCella(grid, 2, 1, "x2*0.5");
        ScriviCella(grid, 1, 2, "sin(x1)");
        QCOMPARE(grid->Cella(2, 1), QString("x2*0.5"));
        QCOMPARE(grid->Cella(1, 2), QString("sin(x1)"));
        QCOMPARE(grid->Cella(1, 1), QString());
        // Header cells do not open an editor.
        grid->setCurrentCell(1, 0);
        QTest::keyClicks(grid, "7");
        QCOMPARE(grid->Cella(0, 1), QString("X1"));
        QVERIFY(!(grid->item(1, 0)->flags() & Qt::ItemIsEditable));
    }

    void grids_keep_the_keyboard_on_their_cells_and_let_it_go() {
        TCoefficientiS dialogo;
        dialogo.ImpostaDimensioniMoti(2, 2);
        QSignalSpy accettato(&dialogo, &QDialog::accepted);
        Mostra(&dialogo);
        // Typing at once goes into [1, 1] of the first page; Enter commits and stays.
        QTRY_COMPARE(QApplication::focusWidget(), dialogo.StringGrid1());
        for (char c : std::string("0.5")) QTest::keyClick(QApplication::focusWidget(), c);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_COMPARE(dialogo.StringGrid1()->Cella(1, 1), QString("0.5"));
        QVERIFY(dialogo.isVisible() && accettato.isEmpty());

        TStringGrid* grid = dialogo.StringGrid3();
        dialogo.PageControl1()->setCurrentIndex(2);
        grid->setFocus();
        grid->setCurrentCell(1, 1);
        auto posizione = [grid] { return QPoint(grid->currentColumn(), grid->currentRow()); };
        // Arrows stop at the header row and column.
        for (Qt::Key k : {Qt::Key_Up, Qt::Key_Left}) QTest::keyClick(grid, k);
        QCOMPARE(posizione(), QPoint(1, 1));
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(posizione(), QPoint(1, 2));
        // Tab walks the four cells row by row, then leaves for the edits.
        grid->setCurrentCell(1, 1);
        QList<QPoint> visitate;
        for (int i = 0; i < 4; ++i) {
            visitate << posizione();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(visitate, (QList<QPoint>{{1, 1}, {2, 1}, {1, 2}, {2, 2}}));
        QTRY_VERIFY(QApplication::focusWidget() != grid);
        // Shift+Tab from the first cell leaves backwards.
        grid->setFocus();
        grid->setCurrentCell(1, 1);
        QTest::keyClick(grid, Qt::Key_Backtab);
        QTRY_VERIFY(QApplication::focusWidget() != grid);
        QCOMPARE(posizione(), QPoint(1, 1));
        // A click on a header cell does not make it current.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(0, 1)).center());
        QCOMPARE(posizione(), QPoint(1, 1));
    }
};

QTEST_MAIN(TestDialoghi)
#include "test_dialoghi.moc"
