// Layout and behaviour of the import dialog.
#include "ImportDialog.h"

#include "Application.h"
#include "ColumnNames.h"
#include "FileDialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace pointimport {

namespace {

QString q(const std::string& text) { return QString::fromStdString(text); }

constexpr int kDefaultWidth = 720;
constexpr int kDefaultHeight = 560;

constexpr const char* kBrowseTitle = "Datei importieren";
constexpr const char* kBrowseFilter =
    "Koordinaten- und CSV-Dateien (*.asc; *.txt; *.csv)|*.asc; *.txt; *.csv|Alle Dateien | *.*";

// The choices of a column, in the order the box lists them.
constexpr pointfiles::Column kColumnChoices[] = {pointfiles::Column::Name, pointfiles::Column::Rw,
                                                 pointfiles::Column::Hw, pointfiles::Column::Height,
                                                 pointfiles::Column::Code, pointfiles::Column::Skip};

QString columnText(pointfiles::Column column) {
  return column == pointfiles::Column::Skip ? QStringLiteral("ignorieren")
                                            : QString::fromUtf8(pointfiles::columnLabel(column));
}

constexpr struct {
  const char* text;
  pointfiles::Separator separator;
} kSeparators[] = {{"Semikolon ;", pointfiles::Separator::Semicolon},
                   {"Komma ,", pointfiles::Separator::Comma},
                   {"Tabulator", pointfiles::Separator::Tab},
                   {"Leerzeichen", pointfiles::Separator::Blanks}};

// What a chosen decimal mark conflicts with, or "".
std::string choiceProblem(const ImportChoice& choice) {
  if (choice.separator == pointfiles::Separator::Comma && choice.decimalMark == pointfiles::DecimalMark::Comma)
    return "Mit dem Trennzeichen Komma haben die Zahlen einen Dezimalpunkt.";
  return pointfiles::columnsProblem(choice.columns);
}

const QColor kBadLineColour(255, 214, 214);
const QColor kHeaderLineColour(224, 224, 224);

}  // namespace

ImportDialog::ImportDialog(QWidget* parent, const std::string& path, bool oldSystem) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Importieren"));
  setSizeGripEnabled(true);
  resize(kDefaultWidth, kDefaultHeight);

  FileEdit = new QLineEdit(this);
  BrowseButton = new QPushButton(QStringLiteral("Durchsuchen..."), this);
  BrowseButton->setAutoDefault(false);
  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(FileEdit, 1);
  fileRow->addWidget(BrowseButton);

  OldButton = new QRadioButton(QStringLiteral("Altsystem"), this);
  NewButton = new QRadioButton(QStringLiteral("Neusystem"), this);
  (oldSystem ? OldButton : NewButton)->setChecked(true);
  auto* systemGroup = new QButtonGroup(this);
  systemGroup->addButton(OldButton);
  systemGroup->addButton(NewButton);
  auto* systemRow = new QHBoxLayout;
  systemRow->addWidget(OldButton);
  systemRow->addWidget(NewButton);
  systemRow->addStretch();

  SeparatorBox = new QComboBox(this);
  for (const auto& separator : kSeparators)
    SeparatorBox->addItem(QString::fromUtf8(separator.text), static_cast<int>(separator.separator));
  DecimalBox = new QComboBox(this);
  DecimalBox->addItem(QStringLiteral("Punkt oder Komma"), -1);
  DecimalBox->addItem(QStringLiteral("Punkt"), static_cast<int>(pointfiles::DecimalMark::Point));
  DecimalBox->addItem(QStringLiteral("Komma"), static_cast<int>(pointfiles::DecimalMark::Comma));
  HeaderBox = new QCheckBox(QStringLiteral("Erste Zeile ist Kopfzeile (nennt die Spalten)"), this);

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Datei:"), fileRow);
  form->addRow(QStringLiteral("Für:"), systemRow);
  form->addRow(QStringLiteral("Trennzeichen:"), SeparatorBox);
  form->addRow(QStringLiteral("Dezimalzeichen:"), DecimalBox);
  form->addRow(QString(), HeaderBox);

  PreviewTable = new QTableWidget(this);
  PreviewTable->setObjectName(QStringLiteral("previewTable"));
  PreviewTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
  PreviewTable->horizontalHeader()->hide();
  FormatLine = new QLabel(this);
  FormatLine->setTextFormat(Qt::PlainText);
  FormatLine->setWordWrap(true);
  SummaryLine = new QLabel(this);
  SummaryLine->setTextFormat(Qt::PlainText);

  OkButton = new QPushButton(QStringLiteral("OK"), this);
  CancelButton = new QPushButton(QStringLiteral("Abbrechen"), this);
  // Return in the file field shows the preview; it must not read the file unseen.
  for (QPushButton* button : {OkButton, CancelButton}) button->setAutoDefault(false);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(OkButton);
  buttons->addWidget(CancelButton);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(new QLabel(QStringLiteral("Vorschau der ersten Zeilen, darüber die Bedeutung jeder Spalte:"), this));
  layout->addWidget(PreviewTable, 1);
  layout->addWidget(FormatLine);
  layout->addWidget(SummaryLine);
  layout->addLayout(buttons);

  connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
  connect(BrowseButton, &QPushButton::clicked, this, [this] { toolkit::RunGuarded([this] { browse(); }); });
  connect(FileEdit, &QLineEdit::editingFinished, this, [this] {
    const std::string typed = FileEdit->text().toStdString();
    if (typed != path_) toolkit::RunGuarded([&] { loadFile(typed); });
  });
  connect(SeparatorBox, &QComboBox::currentIndexChanged, this, [this] {
    if (showing_) return;
    takeChoice();
    rebuildTable();
    showChoice();
  });
  connect(DecimalBox, &QComboBox::currentIndexChanged, this, [this] {
    if (showing_) return;
    takeChoice();
    showChoice();
  });
  connect(HeaderBox, &QCheckBox::toggled, this, [this] {
    if (showing_) return;
    takeChoice();
    showChoice();
  });

  loadFile(path);
}

bool ImportDialog::oldSystem() const { return OldButton->isChecked(); }

QComboBox* ImportDialog::columnBox(int column) const {
  return qobject_cast<QComboBox*>(PreviewTable->cellWidget(0, column));
}

void ImportDialog::browse() {
  toolkit::TFileDialog dialog(toolkit::TFileDialog::Kind::Open);
  dialog.Options = toolkit::TFileDialog::ofFileMustExist;
  dialog.Title = kBrowseTitle;
  dialog.Filter = kBrowseFilter;
  dialog.FileName = path_;
  if (dialog.Execute(this)) loadFile(dialog.GetFileName());
}

void ImportDialog::loadFile(const std::string& path) {
  path_ = path;
  FileEdit->setText(q(path));
  preview_ = path.empty() ? FilePreview{"Keine Datei gewählt.", {}, {}} : readFilePreview(path);
  choice_ = initialChoice(preview_.start, preview_.lines);
  rebuildTable();
  showChoice();
}

void ImportDialog::takeChoice() {
  choice_.separator = static_cast<pointfiles::Separator>(SeparatorBox->currentData().toInt());
  const int mark = DecimalBox->currentData().toInt();
  choice_.decimalMark = mark < 0 ? std::nullopt : std::optional(static_cast<pointfiles::DecimalMark>(mark));
  choice_.header = HeaderBox->isChecked();
  for (int column = 0; column < PreviewTable->columnCount(); ++column)
    if (QComboBox* box = columnBox(column))
      choice_.columns[static_cast<std::size_t>(column)] = static_cast<pointfiles::Column>(box->currentData().toInt());
}

void ImportDialog::rebuildTable() {
  const std::vector<std::vector<std::string>> rows = splitPreview(preview_.lines, choice_.separator);
  const std::size_t columns =
      std::max(previewColumnCount(preview_.lines, choice_.separator), choice_.columns.size());
  choice_.columns = fitColumns(std::move(choice_.columns), columns);

  PreviewTable->clear();
  PreviewTable->setRowCount(static_cast<int>(rows.size()) + 1);
  PreviewTable->setColumnCount(static_cast<int>(columns));
  QStringList rowHeadings{QStringLiteral("Spalte")};
  for (std::size_t i = 0; i < rows.size(); ++i) rowHeadings << QString::number(i + 1);
  PreviewTable->setVerticalHeaderLabels(rowHeadings);
  for (std::size_t column = 0; column < columns; ++column) {
    auto* box = new QComboBox(PreviewTable);
    for (const pointfiles::Column choice : kColumnChoices) box->addItem(columnText(choice), static_cast<int>(choice));
    box->setCurrentIndex(box->findData(static_cast<int>(choice_.columns[column])));
    connect(box, &QComboBox::currentIndexChanged, this, [this] {
      if (showing_) return;
      takeChoice();
      showChoice();
    });
    PreviewTable->setCellWidget(0, static_cast<int>(column), box);
  }
  for (std::size_t row = 0; row < rows.size(); ++row)
    for (std::size_t column = 0; column < rows[row].size() && column < columns; ++column)
      PreviewTable->setItem(static_cast<int>(row) + 1, static_cast<int>(column),
                            new QTableWidgetItem(QString::fromUtf8(rows[row][column])));
  PreviewTable->resizeColumnsToContents();
}

void ImportDialog::showChoice() {
  showing_ = true;
  SeparatorBox->setCurrentIndex(SeparatorBox->findData(static_cast<int>(choice_.separator)));
  DecimalBox->setCurrentIndex(choice_.decimalMark ? DecimalBox->findData(static_cast<int>(*choice_.decimalMark)) : 0);
  HeaderBox->setChecked(choice_.header);
  showing_ = false;

  const std::string problem = preview_.problem.empty() ? choiceProblem(choice_) : preview_.problem;
  OkButton->setEnabled(problem.empty());
  if (!preview_.problem.empty()) {
    FormatLine->clear();
    SummaryLine->setText(q(problem));
    return;
  }
  const pointfiles::PointFileFormat format = pointfiles::choosePointFileFormat(preview_.start, request());
  FormatLine->setText(QStringLiteral("Gelesen wird: ") + q(pointfiles::describe(format)));
  const std::vector<LineKind> kinds = previewKinds(preview_.lines, format);
  SummaryLine->setText(q(problem.empty() ? previewSummary(kinds) : problem));
  for (std::size_t row = 0; row < kinds.size(); ++row) {
    const bool header = format.headerLine == static_cast<long long>(row) + 1;
    const bool bad = problem.empty() && kinds[row] == LineKind::Bad;
    for (int column = 0; column < PreviewTable->columnCount(); ++column)
      if (QTableWidgetItem* item = PreviewTable->item(static_cast<int>(row) + 1, column))
        item->setData(Qt::BackgroundRole, bad ? QVariant(kBadLineColour) : header ? QVariant(kHeaderLineColour) : QVariant());
  }
}

}  // namespace pointimport
