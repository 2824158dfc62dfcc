#include "forms/form_what_grew.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "forms/what_grew_view.h"

namespace {
constexpr int kWidth = 680;
constexpr int kHeight = 420;
}

TFormWhatGrew::TFormWhatGrew(QWidget* parent) : QDialog(parent)
{
    setObjectName("TFormWhatGrew");
    setWindowTitle("What Grew");
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    View = new TWhatGrewView(this);
    layout->addWidget(View, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setObjectName("BClose");
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    layout->addWidget(buttons);
    resize(kWidth, kHeight);
}
