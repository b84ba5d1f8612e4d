#include "ui/windows/USperanzaChild.h"

#include <algorithm>

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "core/base/Conversioni.h"

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
        distribuzione_.Azzera();
        AggiornaStatistiche();
    });
    connect(continuo_, &QCheckBox::clicked, this, &TSperanzaChild::AggiornaStatistiche);
}

void TSperanzaChild::ImpostaIstante(int n, Extended t) {
    istante_ = t;
    componenti_.clear();
    componenti_.resize(static_cast<std::size_t>(n));
    valori_.assign(static_cast<std::size_t>(n) + 1, Extended10(0));
    compilatore_.SetMassimaVariabileAmmessa(std::min(n, TRPNCompiler::MassimoIndiceVariabile));
}

void TSperanzaChild::SetComponente(int k, std::unique_ptr<TFunzione> f) {
    if (k < 1 || k > static_cast<int>(componenti_.size())) throw Exception("Invalid argument!");
    componenti_[static_cast<std::size_t>(k - 1)] = std::move(f);
}

void TSperanzaChild::SistemaAggiornato(TSistema&) {
    valori_[0] = istante_;
    for (std::size_t k = 0; k < componenti_.size(); ++k)
        valori_[k + 1] = componenti_[k]->Valore(istante_);
    distribuzione_.Aggiungi(compilatore_.ValutaVettore(valori_.data()));
    AggiornaStatistiche();
}

void TSperanzaChild::SetDistribuzione(const TDistribuzione& d) {
    distribuzione_ = d;
    AggiornaStatistiche();
}

void TSperanzaChild::AggiornaStatistiche() {
    osservazioni_->setText(QString::number(distribuzione_.Osservazioni()));
    if (!continuo_->isChecked()) return;
    media_->setText(Testo(distribuzione_.Media()));
    varianza_->setText(Testo(distribuzione_.Varianza()));
}
