#include "ui/windows/USperanzaChild.h"

#include <algorithm>

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>

#include "core/base/Conversioni.h"
#include "ui/frame/DisposizioneFinestre.h"

namespace {
QString Testo(Extended v) { return QString::fromStdString(FloatToStr(v)); }
}  // namespace

TSperanzaChild::TSperanzaChild(QWidget* parent)
    : TComune(parent), funzione_(new QLabel("N/A", this)), media_(new QLabel("N/A", this)),
      varianza_(new QLabel("N/A", this)), osservazioni_(new QLabel("0", this)),
      continuo_(new QCheckBox("Contiuno", this)), azzera_(new QPushButton("Azzera", this)) {
    setWindowTitle("Statistiche");
    auto* griglia = new QGridLayout;
    const std::pair<const char*, QLabel*> righe[] = {{"Funzione", funzione_},
                                                     {"Media", media_},
                                                     {"Varianza", varianza_},
                                                     {"Osservazioni", osservazioni_}};
    for (int r = 0; r < 4; ++r) {
        const auto& [nome, valore] = righe[r];
        valore->setObjectName(nome);
        griglia->addWidget(new QLabel(QString(nome) + ":", this), r, 0);
        griglia->addWidget(valore, r, 1);
    }
    continuo_->setObjectName("Continuo");
    continuo_->setChecked(true);
    azzera_->setObjectName("Button1");
    auto* diagramma = new QPushButton("Diagramma", this);
    diagramma->setObjectName("Button2");
    diagramma->setEnabled(false);
    auto* pulsanti = new QHBoxLayout;
    pulsanti->addWidget(azzera_);
    pulsanti->addWidget(diagramma);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(griglia);
    layout->addWidget(continuo_);
    layout->addLayout(pulsanti);
    resize(250, 171);
    connect(azzera_, &QPushButton::clicked, this, [this] {
        {
            std::lock_guard lock(mutex_);
            distribuzione_.Azzera();
        }
        AggiornaStatistiche();
    });
    connect(continuo_, &QCheckBox::clicked, this, &TSperanzaChild::AggiornaStatistiche);
}

TSperanzaChild::~TSperanzaChild() { Scollega(); }

bool TSperanzaChild::event(QEvent* event) {
    const bool gestito = TComune::event(event);
    auto* sotto = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (event->type() == QEvent::LayoutRequest && sotto) {
        const int manca = layout()->minimumSize().width() - width();
        if (manca > 0) {
            sotto->resize(sotto->width() + manca, sotto->height());
            TieniNellArea(sotto);
        }
    }
    return gestito;
}

void TSperanzaChild::ImpostaIstante(int n, Extended t) {
    istante_ = t;
    compilatore_->SetMassimaVariabileAmmessa(std::min(n, TRPNCompiler::MassimoIndiceVariabile));
}

void TSperanzaChild::ImpostaFunzione(const std::string& testo, const QString& descrizione) {
    funzione_->setText("(nessuna funzione)");
    compilatore_->SetText(testo);
    haFunzione_ = true;
    funzione_->setText(descrizione);
}

TDistribuzione TSperanzaChild::Distribuzione1() const {
    std::lock_guard lock(mutex_);
    return distribuzione_;
}

std::optional<TOsservazione> TSperanzaChild::Osservazione() const {
    if (!haFunzione_) return std::nullopt;
    return TOsservazione{compilatore_, istante_};
}

void TSperanzaChild::Aggiungi(Extended valore) {
    std::lock_guard lock(mutex_);
    distribuzione_.Aggiungi(valore);
}

void TSperanzaChild::Unisci(const TAccumulo& campione) {
    {
        std::lock_guard lock(mutex_);
        distribuzione_.Unisci(campione);
    }
    AggiornaStatistiche();
}

void TSperanzaChild::SetDistribuzione(const TDistribuzione& d) {
    {
        std::lock_guard lock(mutex_);
        distribuzione_ = d;
    }
    AggiornaStatistiche();
}

void TSperanzaChild::SistemaAggiornato(TSistema&) { AggiornaStatistiche(); }

void TSperanzaChild::AggiornaStatistiche() {
    const TDistribuzione d = Distribuzione1();
    osservazioni_->setText(QString::number(d.Osservazioni()));
    if (!continuo_->isChecked()) return;
    media_->setText(Testo(d.Media()));
    varianza_->setText(Testo(d.Varianza()));
}
