#include "app/qt/settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>
#include <utility>

#include "settings/settings_record.h"

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }
QString Text(const char* text) { return QString::fromUtf8(text); }

}  // namespace

SettingsDialog::SettingsDialog(QWidget* parent, BoxCalls calls)
    : QDialog(parent), calls_(std::move(calls)), rows_(FormRows().size()) {
  setWindowTitle(Text(kSettingsTitle));
  setAccessibleName(Text(kSettingsTitle));
  form_.Load(SettingsRecord, ReadSessionStates());

  // The groups of each column, top to bottom, in the rows' order; the
  // widgets are made in that order, which is the order Tab takes.
  auto* columns = new QHBoxLayout;
  QVBoxLayout* column_layouts[2] = {new QVBoxLayout, new QVBoxLayout};
  const std::span<const FormGroup> groups = FormGroups();
  for (size_t g = 0; g < groups.size(); ++g) {
    auto* box = new QGroupBox(Text(groups[g].title));
    auto* form = new QFormLayout(box);
    for (size_t row = 0; row < FormRows().size(); ++row) {
      if (FormRows()[row].group != static_cast<int>(g)) continue;
      QLabel* label = nullptr;
      QWidget* field = MakeRow(row, label);
      if (label != nullptr) {
        form->addRow(label, field);
      } else {
        form->addRow(field);
      }
    }
    column_layouts[groups[g].column == 0 ? 0 : 1]->addWidget(box);
  }
  for (QVBoxLayout* column : column_layouts) {
    column->addStretch();
    columns->addLayout(column);
  }

  auto* preview_box = new QGroupBox(Text(kPreviewTitle));
  auto* preview_layout = new QVBoxLayout(preview_box);
  preview_ = new QLabel;
  preview_->setWordWrap(true);
  preview_->setTextFormat(Qt::PlainText);
  preview_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  preview_->setAccessibleName(Text(kPreviewTitle));
  preview_layout->addWidget(preview_);
  problem_ = new QLabel;
  problem_->setWordWrap(true);
  problem_->setTextFormat(Qt::PlainText);
  problem_->setAccessibleName("Problem");
  problem_->setStyleSheet("color: #b00000");

  auto* buttons = new QDialogButtonBox;
  QPushButton* ok = buttons->addButton(Text(kOkLabel), QDialogButtonBox::AcceptRole);
  QPushButton* cancel = buttons->addButton(Text(kCancelLabel), QDialogButtonBox::RejectRole);
  apply_ = buttons->addButton(Text(kApplyLabel), QDialogButtonBox::ApplyRole);
  // Enter means OK wherever the focus is but on another button.
  apply_->setAutoDefault(false);
  ok->setAccessibleName(Text(kOkLabel));
  cancel->setAccessibleName(Text(kCancelLabel));
  apply_->setAccessibleName(Text(SpokenName(kApplyLabel)));
  connect(ok, &QPushButton::clicked, this, [this] {
    if (Save()) accept();
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(apply_, &QPushButton::clicked, this, [this] { Save(); });

  // The problem, when there is one, beside the buttons.
  auto* foot = new QHBoxLayout;
  foot->addWidget(problem_, 1);
  foot->addWidget(buttons);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns);
  layout->addWidget(preview_box);
  layout->addLayout(foot);
  ok->setDefault(true);  // once it is in the window, which keeps it as its default
  ShowForm();
}

QWidget* SettingsDialog::MakeRow(size_t row, QLabel*& label) {
  const FormRow& r = FormRows()[row];
  RowWidgets& w = rows_[row];
  const QString name = Text(SpokenName(r.label));
  QWidget* field = nullptr;
  switch (r.kind) {
    case RowKind::kChoice:
      w.choice = new QComboBox;
      connect(w.choice, &QComboBox::currentIndexChanged, this, [this, row](int index) {
        if (showing_) return;
        form_.Choose(row, index);
        ShowPreview();
      });
      field = w.choice;
      break;
    case RowKind::kSwitch:
    case RowKind::kSession:
      w.check = new QCheckBox(Text(r.label));
      connect(w.check, &QCheckBox::toggled, this, [this, row](bool on) {
        if (showing_) return;
        form_.SetOn(row, on);
        ShowPreview();
      });
      field = w.check;
      break;
    case RowKind::kFolder: {
      field = new QWidget;
      auto* line = new QHBoxLayout(field);
      line->setContentsMargins(0, 0, 0, 0);
      w.folder = new QLineEdit;
      w.folder->setMinimumWidth(fontMetrics().averageCharWidth() * 28);
      w.browse = new QPushButton(Text(r.browse));
      w.browse->setAutoDefault(false);
      w.browse->setAccessibleName(Text(r.browse_name));
      line->addWidget(w.folder, 1);
      line->addWidget(w.browse);
      connect(w.folder, &QLineEdit::textEdited, this, [this, row](const QString& text) {
        form_.SetFolder(row, text.toStdString());
        ShowPreview();
      });
      connect(w.browse, &QPushButton::clicked, this, [this, row] { Browse(row); });
      break;
    }
    case RowKind::kPercent: {
      field = new QWidget;
      auto* line = new QHBoxLayout(field);
      line->setContentsMargins(0, 0, 0, 0);
      w.slider = new QSlider(Qt::Horizontal);
      w.slider->setRange(r.low, r.high);
      w.slider->setPageStep(10);
      w.value = new QLabel;
      w.value->setMinimumWidth(fontMetrics().horizontalAdvance("Other (-32768)"));
      line->addWidget(w.slider, 1);
      line->addWidget(w.value);
      // The box shows each position at once, while the slider moves.
      connect(w.slider, &QSlider::valueChanged, this, [this, row](int value) {
        if (showing_) return;
        form_.SetPercent(row, value);
        rows_[row].value->setText(Text(form_.PercentText(row)));
        if (calls_.show_opacity) calls_.show_opacity(form_.Opacity());
        ShowPreview();
      });
      break;
    }
  }
  // Labelled fields get their name and access key from the label before them.
  if (r.kind != RowKind::kSwitch && r.kind != RowKind::kSession) {
    label = new QLabel(Text(r.label));
    QWidget* input = w.choice != nullptr   ? static_cast<QWidget*>(w.choice)
                     : w.folder != nullptr ? static_cast<QWidget*>(w.folder)
                                           : static_cast<QWidget*>(w.slider);
    label->setBuddy(input);
    input->setAccessibleName(name);
  } else {
    w.check->setAccessibleName(name);
  }
  return field;
}

void SettingsDialog::Browse(size_t row) {
  QFileDialog picker(this, Text(FormRows()[row].browse_name), Text(form_.Folder(row)));
  picker.setFileMode(QFileDialog::Directory);
  picker.setOption(QFileDialog::ShowDirsOnly);
  if (picker.exec() != QDialog::Accepted || picker.selectedFiles().isEmpty()) return;
  const QString folder = QDir::toNativeSeparators(picker.selectedFiles().constFirst());
  rows_[row].folder->setText(folder);
  form_.SetFolder(row, folder.toStdString());
  ShowPreview();
}

void SettingsDialog::ShowForm() {
  showing_ = true;
  for (size_t row = 0; row < rows_.size(); ++row) {
    RowWidgets& w = rows_[row];
    if (w.choice != nullptr) {
      w.choice->clear();
      for (const std::string& name : form_.ChoiceNames(row)) w.choice->addItem(Text(name));
      w.choice->setCurrentIndex(form_.ChoiceIndex(row));
    }
    if (w.check != nullptr) w.check->setChecked(form_.IsOn(row));
    if (w.folder != nullptr) {
      w.folder->setText(Text(form_.Folder(row)));
      w.folder->setCursorPosition(0);  // the folder's start shows, as on Windows
    }
    if (w.slider != nullptr) {
      w.slider->setValue(form_.Position(row));
      w.value->setText(Text(form_.PercentText(row)));
    }
  }
  showing_ = false;
  ShowPreview();
}

void SettingsDialog::ShowPreview() {
  preview_->setText(Text(form_.Preview()));
  problem_->setText(Text(form_.Problem()));
  apply_->setEnabled(form_.Changed());
}

bool SettingsDialog::Save() {
  const FormApplied applied = ApplyForm(form_);
  if (applied.reload && calls_.settings_applied) calls_.settings_applied();
  // The form now shows what holds; a failure keeps the choices made.
  if (applied.problem.empty() || applied.reload) ShowForm();
  problem_->setText(Text(applied.problem));
  return applied.problem.empty();
}

void SettingsDialog::ComeToFront() {
  show();
  raise();
  activateWindow();
}

void SettingsDialog::done(int result) {
  // Closed without saving what the slider showed: the box shows its
  // settings' own opacity again.
  if (calls_.show_opacity) calls_.show_opacity(SettingsRecord.t);
  QDialog::done(result);
}
