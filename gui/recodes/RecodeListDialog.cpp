#include "gui/recodes/RecodeListDialog.h"

#include "app/ContexteEtude.h"
#include "app/QuestionEtendue.h"
#include "app/Recodage.h"
#include "app/StringTable.h"
#include "framework/WindowSize.h"
#include "recodes/EnregistrerRecodage.h"
#include "recodes/RecodeChecks.h"
#include "recodes/RecodeValues.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int kLabelLength = 50;
// The entry's value rides on its item, so that the list can be read back in its order.
constexpr int kValueRole = Qt::UserRole;

QString TableText(int id) {
    return QString::fromStdString(StringTable::Text(id));
}

} // namespace

RecodeListDialog::RecodeListDialog(CContexteEtude& context, CQuestionEtendue& question, CQuestionEtendue* edited,
                                   std::unique_ptr<CRecodage> fresh, const QString& title, QWidget* parent)
    : QDialog(parent), m_context(context), m_question(question), m_edited(edited),
      m_label(new QLineEdit(this)), m_unit(new QLineEdit(this)), m_entries(new QTreeWidget(this)),
      m_preview(new QTreeWidget(this)) {
    setWindowTitle(title);
    if (edited != nullptr && edited->GetRecodage() != nullptr) {
        m_recode = CRecodage::Cloner(edited->GetRecodage());
    } else {
        m_recode = std::move(fresh);
        m_recode->sourceQuestionCode = question.code;
        m_recode->sourceRecodeCode = question.recodeId;
    }
    m_label->setMaxLength(kLabelLength);
    m_label->setText(QString::fromStdString(m_recode->label));
    m_unit->setText(QString::fromStdString(m_recode->GetUnite()));
}

RecodeListDialog::~RecodeListDialog() = default;

void RecodeListDialog::Build(QLayout* options) {
    m_entries->setHeaderLabels({TableText(StringTable::kBornes)});
    m_entries->setRootIsDecorated(false);
    m_entries->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_entries->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::DoubleClicked);
    m_entries->installEventFilter(this);
    m_preview->setHeaderLabels({TableText(StringTable::kIntervalles), TableText(StringTable::kEffectif)});
    m_preview->setRootIsDecorated(false);
    m_preview->setSelectionMode(QAbstractItemView::NoSelection);
    m_preview->header()->setStretchLastSection(false);
    m_preview->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_preview->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_preview->setMinimumWidth(320);
    m_entries->setMinimumWidth(160);

    auto* top = new QGridLayout;
    top->addWidget(new QLabel(QStringLiteral("Libellé :"), this), 0, 0);
    top->addWidget(m_label, 0, 1);
    top->addWidget(new QLabel(QStringLiteral("Unité:"), this), 1, 0);
    top->addWidget(m_unit, 1, 1);

    auto* lists = new QHBoxLayout;
    lists->addWidget(m_entries, 1);
    lists->addWidget(m_preview, 2);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &RecodeListDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &RecodeListDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(options);
    layout->addWidget(new QLabel(QStringLiteral("Inser : ajouter, Suppr : supprimer, F2 : modifier"), this));
    layout->addLayout(lists, 1);
    layout->addWidget(buttons);

    connect(m_entries, &QTreeWidget::itemChanged, this, &RecodeListDialog::OnEntryEdited);
    connect(m_unit, &QLineEdit::textEdited, this, [this] { m_unitChanged = true; });
    connect(m_unit, &QLineEdit::editingFinished, this, [this] {
        if (!m_unitChanged)
            return;
        m_unitChanged = false;
        RefreshPreview();
    });

    ReadAnswers();
    resize(640, 440);
    WindowSize::FitContentsToScreen(*this);
}

void RecodeListDialog::ReadAnswers() {
    std::vector<double> answers;
    std::string error;
    if (!RecodeValues::Read(m_context, m_question, answers, error))
        m_context.GetUserInterface().ShowMessage(Message::Text(error), UserInterface::Icon::Warning);
    m_prepared = RecodeValues::Prepare(answers);
    m_answers = m_prepared;
}

void RecodeListDialog::SetEntries(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    m_values = std::move(values);
    ShowEntries();
    RefreshPreview();
}

void RecodeListDialog::ShowEntries() {
    const QSignalBlocker quiet(m_entries);
    m_entries->clear();
    for (const double value : m_values) {
        auto* item = new QTreeWidgetItem(m_entries, {EntryText(value)});
        item->setData(0, kValueRole, value);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
}

void RecodeListDialog::RefreshPreview() {
    std::unique_ptr<CRecodage> probe = CRecodage::Cloner(m_recode.get());
    probe->SetUnite(m_unit->text().toStdString());
    FillRecode(*probe);
    std::vector<std::string> captions;
    std::vector<long> counts;
    Preview(*probe, captions, counts);
    m_preview->clear();
    for (std::size_t i = 0; i < captions.size(); ++i) {
        const long count = i < counts.size() ? counts[i] : 0;
        auto* item = new QTreeWidgetItem(m_preview, {QString::fromStdString(captions[i]), QString::number(count)});
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    }
}

void RecodeListDialog::OnEntryEdited(QTreeWidgetItem* item) {
    const int row = m_entries->indexOfTopLevelItem(item);
    if (row < 0 || static_cast<std::size_t>(row) >= m_values.size())
        return;
    double value = 0.0;
    if (ReadEntry(item->text(0).trimmed(), value))
        m_values[static_cast<std::size_t>(row)] = value;
    std::vector<double> values = m_values;
    std::sort(values.begin(), values.end());
    m_values = std::move(values);
    // The list shows the entries again in order, the edited one selected.
    const double kept = m_values.empty() ? 0.0 : value;
    ShowEntries();
    RefreshPreview();
    for (int i = 0; i < m_entries->topLevelItemCount(); ++i)
        if (m_entries->topLevelItem(i)->data(0, kValueRole).toDouble() == kept) {
            m_entries->setCurrentItem(m_entries->topLevelItem(i));
            break;
        }
}

void RecodeListDialog::InsertEntry() {
    m_values.push_back(0.0);
    std::sort(m_values.begin(), m_values.end());
    ShowEntries();
    RefreshPreview();
    for (int i = 0; i < m_entries->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_entries->topLevelItem(i);
        if (item->data(0, kValueRole).toDouble() == 0.0) {
            m_entries->setCurrentItem(item);
            m_entries->editItem(item, 0);
            break;
        }
    }
}

void RecodeListDialog::DeleteSelectedEntries() {
    std::vector<double> kept;
    for (int i = 0; i < m_entries->topLevelItemCount(); ++i)
        if (!m_entries->topLevelItem(i)->isSelected())
            kept.push_back(m_values[static_cast<std::size_t>(i)]);
    SetEntries(std::move(kept));
}

bool RecodeListDialog::eventFilter(QObject* watched, QEvent* event) {
    // While an entry is edited the keys go to its editor, not to the list.
    if (watched == m_entries && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Insert) {
            InsertEntry();
            return true;
        }
        if (key == Qt::Key_Delete) {
            DeleteSelectedEntries();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void RecodeListDialog::Warn(const Message& message) const {
    m_context.GetUserInterface().ShowMessage(message, UserInterface::Icon::Warning);
}

void RecodeListDialog::accept() {
    UserInterface& ui = m_context.GetUserInterface();
    std::unique_ptr<CRecodage> filled = CRecodage::Cloner(m_recode.get());
    filled->SetUnite(m_unit->text().toStdString());
    FillRecode(*filled);
    std::vector<std::string> captions;
    std::vector<long> counts;
    Preview(*filled, captions, counts);
    if (const auto fault = RecodeChecks::CheckEntries(m_values, static_cast<int>(captions.size()))) {
        ui.ShowMessage(fault->message, UserInterface::Icon::Warning);
        if (fault->index >= 0 && fault->index < m_entries->topLevelItemCount())
            m_entries->setCurrentItem(m_entries->topLevelItem(fault->index));
        m_entries->setFocus();
        return;
    }
    const std::string label = m_label->text().trimmed().toStdString();
    if (const auto refused = RecodeChecks::CheckLabel(m_context, label, *filled)) {
        ui.ShowMessage(*refused, UserInterface::Icon::Warning);
        m_label->setFocus();
        return;
    }
    filled->label = label;
    std::string error;
    CQuestionEtendue* source = m_edited != nullptr ? &m_question : nullptr;
    if (!EnregistrerRecodage(*filled, m_context, source, error)) {
        ui.ShowMessage(Message::Text(error), UserInterface::Icon::Error);
        return;
    }
    m_recode = std::move(filled);
    QDialog::accept();
}
