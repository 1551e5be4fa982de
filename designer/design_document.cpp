// The design document: recorded edits, undo and redo, and the modified flag.
#include "designer/design_document.h"

#include <algorithm>
#include <cassert>
#include <filesystem>

namespace {
// The resize mark belongs to a drag under way, never to a state the history brings back.
DesignItem Unmarked(DesignItem item) {
    item.resizeTarget = false;
    return item;
}
}  // namespace

bool CDesignDocument::IsModified() const {
    return m_loaded && (m_changedBesideSteps || m_history.Position() != m_savedPosition);
}

std::string CDesignDocument::DisplayName() const {
    const std::string name = std::filesystem::path(m_designPath).filename().string();
    return name.empty() ? "Untitled" : name;
}

void CDesignDocument::New() {
    Open(Design{}, {}, {});
    m_path.clear();
    Changed();
}

void CDesignDocument::Open(Design design, std::string recordSource, std::string path) {
    m_designPath = std::move(path);
    m_open.reset();
    m_replaced.clear();
    m_design = std::move(design);
    m_recordSource = std::move(recordSource);
    m_loaded = true;
    m_history.Clear();
    m_savedPosition = m_history.Position();
    m_changedBesideSteps = false;
    Changed();
}

void CDesignDocument::SetPath(std::string path) {
    m_path = std::move(path);
    Changed();
}

void CDesignDocument::MarkSaved(std::string path) {
    m_designPath = std::move(path);
    m_savedPosition = m_history.Position();
    m_changedBesideSteps = false;
    Changed();
}

void CDesignDocument::SetRecordSource(std::string recordSource) {
    if (recordSource != m_recordSource) {
        m_recordSource = std::move(recordSource);
        m_changedBesideSteps = true;
        Changed();
    }
}

void CDesignDocument::BeginStep(std::string name) {
    EndStep();
    m_open = EditStep{std::move(name), {}, std::nullopt, 0};
}

bool CDesignDocument::EndStep() {
    if (!m_open) {
        return false;
    }
    EditStep step = std::move(*m_open);
    m_open.reset();
    m_replaced.clear();
    std::erase_if(step.edits, [](const ItemEdit& edit) {
        return edit.kind == ItemEdit::Kind::Replace && edit.before == edit.after;
    });
    if (step.background && step.background->first == step.background->second) {
        step.background.reset();
    }
    if (step.edits.empty() && !step.background) {
        return false;
    }
    step.serial = m_history.NextSerial();
    m_history.Push(std::move(step));
    Changed();
    return true;
}

EditStep& CDesignDocument::OpenStep() {
    assert(m_open && "a recorded edit outside a step");
    if (!m_open) {
        // Never lose an edit from the history: a stray one becomes a step of its own.
        m_open = EditStep{"Edit", {}, std::nullopt, 0};
    }
    return *m_open;
}

std::size_t CDesignDocument::Insert(DesignItem item) {
    return InsertAll({std::move(item)}).front();
}

std::vector<std::size_t> CDesignDocument::InsertAll(std::vector<DesignItem> items) {
    const auto back = std::stable_partition(items.begin(), items.end(), GoesToFront);
    const auto front = static_cast<std::size_t>(back - items.begin());
    const std::size_t later = Count() + front;
    ItemEdit edit{ItemEdit::Kind::Insert, {}, 0, {}, {}};
    edit.items.reserve(items.size());
    std::vector<std::size_t> positions;
    positions.reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::size_t at = i < front ? i : later + (i - front);
        positions.push_back(at);
        edit.items.emplace_back(at, std::move(items[i]));
    }
    InsertPlaced(m_design.Items(), edit.items);
    m_replaced.clear();
    OpenStep().edits.push_back(std::move(edit));
    return positions;
}

void CDesignDocument::InsertAt(std::size_t index, DesignItem item) {
    assert(index <= Count());
    ItemEdit edit{ItemEdit::Kind::Insert, {}, 0, {}, {}};
    edit.items.emplace_back(std::min(index, Count()), std::move(item));
    InsertPlaced(m_design.Items(), edit.items);
    m_replaced.clear();
    OpenStep().edits.push_back(std::move(edit));
}

void CDesignDocument::Erase(const std::vector<std::size_t>& positions) {
    if (positions.empty()) {
        return;
    }
    assert(std::is_sorted(positions.begin(), positions.end()));
    std::vector<DesignItem> erased = ErasePlaced(m_design.Items(), positions);
    ItemEdit edit{ItemEdit::Kind::Erase, {}, 0, {}, {}};
    edit.items.reserve(erased.size());
    for (std::size_t i = 0; i < erased.size(); ++i) {
        edit.items.emplace_back(positions[i], std::move(erased[i]));
    }
    m_replaced.clear();
    OpenStep().edits.push_back(std::move(edit));
}

void CDesignDocument::Replace(std::size_t index, const DesignItem& item) {
    DesignItem& current = m_design.Items().at(index);
    EditStep& step = OpenStep();
    if (const auto found = m_replaced.find(index); found != m_replaced.end()) {
        step.edits[found->second].after = Unmarked(item);
    } else {
        m_replaced.emplace(index, step.edits.size());
        step.edits.push_back(
            ItemEdit{ItemEdit::Kind::Replace, {}, index, Unmarked(current), Unmarked(item)});
    }
    current = item;
}

void CDesignDocument::SetBackgroundColor(COLORREF color) {
    EditStep& step = OpenStep();
    if (!step.background) {
        step.background.emplace(m_background, color);
    }
    step.background->second = color;
    m_background = color;
}

bool CDesignDocument::SetSelected(std::size_t index, bool selected) {
    DesignItem& item = m_design.Items().at(index);
    if (item.selected == selected) {
        return false;
    }
    item.selected = selected;
    return true;
}

void CDesignDocument::SetResizeTarget(std::size_t index, bool target) {
    m_design.Items().at(index).resizeTarget = target;
}

void CDesignDocument::SetColumnText(std::size_t index, std::string text) {
    DesignItem& item = m_design.Items().at(index);
    assert(item.kind == kColumn);
    item.text = std::move(text);
}

std::string CDesignDocument::UndoName() const {
    return CanUndo() ? m_history.NextUndo().name : std::string();
}

std::string CDesignDocument::RedoName() const {
    return CanRedo() ? m_history.NextRedo().name : std::string();
}

EditDamage CDesignDocument::Undo() {
    EndStep();
    if (!CanUndo()) {
        return {};
    }
    EditDamage damage = Apply(m_history.Undo(), false);
    Changed();
    return damage;
}

EditDamage CDesignDocument::Redo() {
    EndStep();
    if (!CanRedo()) {
        return {};
    }
    EditDamage damage = Apply(m_history.Redo(), true);
    Changed();
    return damage;
}

EditDamage CDesignDocument::Apply(const EditStep& step, bool forwards) {
    EditDamage damage;
    if (forwards) {
        for (const ItemEdit& edit : step.edits) {
            ApplyEdit(m_design.Items(), edit, true, damage.area);
        }
    } else {
        for (auto edit = step.edits.rbegin(); edit != step.edits.rend(); ++edit) {
            ApplyEdit(m_design.Items(), *edit, false, damage.area);
        }
    }
    if (step.background) {
        m_background = forwards ? step.background->second : step.background->first;
        damage.background = true;
    }
    return damage;
}

void CDesignDocument::Changed() {
    if (m_onChange) {
        m_onChange();
    }
}
