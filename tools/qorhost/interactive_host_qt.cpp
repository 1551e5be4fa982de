// The interactive window: a Qt main window around the host area, with the lists, the member
// and argument editors and the result pane.
#include "tools/qorhost/interactive_host.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <deque>
#include <memory>
#include <utility>
#include <vector>

#include "embed/member_call.h"
#include "embed/member_list.h"
#include "platform/com/class_registration.h"
#include "platform/gdi/bitmap_qt.h"
#include "platform/ui/module_image.h"
#include "platform/ui/wnd_qt.h"
#include "tools/qorhost/control_host.h"
#include "tools/qorhost/registered_controls.h"

namespace {

constexpr SIZE kAreaSize{640, 480};
constexpr RECT kFirstControl{10, 10, 330, 250};
constexpr int kCascade = 24;

enum Column { kNameColumn, kTypeColumn, kOutColumn, kValueColumn, kColumnCount };
enum Access { kCall, kGet, kPut };

constexpr std::array<VARTYPE, 8> kArgumentTypes{VT_VARIANT, VT_BSTR, VT_I4, VT_R8,
                                                VT_BOOL,    VT_DATE, VT_CY, VT_DISPATCH};

// An object of the window: a control in the host area, or a non-visual object (a connection,
// or an object a call returned).
struct HostObject {
    QString name;
    std::string progId;
    CComPtr<IDispatch> dispatch;
    CControlSite* site = nullptr;
};

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// Widgets and layouts belong to the widget they are put in, as Qt has it.
template <class W, class... Args>
W* AddTo(QBoxLayout* layout, Args&&... args) {
    auto widget = std::make_unique<W>(std::forward<Args>(args)...);
    layout->addWidget(widget.get());
    return widget.release();
}

template <class L>
L* LayoutOf(QWidget* widget) {
    auto layout = std::make_unique<L>();
    widget->setLayout(layout.get());
    return layout.release();
}

// The control's toolbox bitmap from its registered module; none when it cannot be loaded.
QIcon ToolboxIcon(const std::string& progId) {
    CLSID clsid;
    CBitmap bitmap(0, 0);
    if (FAILED(RegistryCLSIDFromProgID(progId, &clsid)) ||
        FAILED(LoadToolboxBitmap(clsid, &bitmap))) {
        return {};
    }
    return QIcon(QPixmap::fromImage(bitmap.impl().image));
}

QPushButton* Button(const char* text, QBoxLayout* layout) {
    return AddTo<QPushButton>(layout, QString::fromLatin1(text));
}

}  // namespace

struct CInteractiveHost::Impl {
    explicit Impl(CControlHost& controls) : controls(controls) {}
    ~Impl() {
        // The area is the control host's window: it leaves the scroll area before the window
        // and its children go.
        if (scroll != nullptr && scroll->widget() != nullptr) {
            scroll->takeWidget()->setParent(nullptr);
        }
    }
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    void Build();
    QWidget* BuildObjectsPanel();
    QWidget* BuildMembersPanel();
    void Connect();

    void InsertControl();
    void CreateObject();
    void AddObject(HostObject object);
    void RemoveSelected();
    void ShowAbout();
    void ShowProperties();
    void SelectionChanged();
    void MemberChanged();
    void AddArgumentRow(const ParamDescription& param);
    void Invoke();
    bool BuildArguments(std::vector<CComVariant>& args, std::deque<CComVariant>& storage,
                        std::vector<std::pair<int, CComVariant*>>& outs);
    void Report(const QString& line) { output->appendPlainText(line); }

    HostObject* Selected();

    CControlHost& controls;
    std::unique_ptr<QMainWindow> window;
    std::vector<HostObject> objects;
    std::vector<MemberDescription> members;
    int created = 0;
    QString registryProblem;

    QListWidget* controlList = nullptr;
    QLineEdit* progIdEdit = nullptr;
    QPushButton* insertButton = nullptr;
    QPushButton* createButton = nullptr;
    QListWidget* objectList = nullptr;
    QPushButton* aboutButton = nullptr;
    QPushButton* propertiesButton = nullptr;
    QPushButton* removeButton = nullptr;
    QScrollArea* scroll = nullptr;
    QComboBox* memberBox = nullptr;
    QComboBox* accessBox = nullptr;
    QTableWidget* argsTable = nullptr;
    QPushButton* addArgButton = nullptr;
    QPushButton* removeArgButton = nullptr;
    QPushButton* invokeButton = nullptr;
    QPlainTextEdit* output = nullptr;
};

CInteractiveHost::CInteractiveHost(CControlHost& controls)
    : m_impl(std::make_unique<Impl>(controls)) {}

CInteractiveHost::~CInteractiveHost() = default;

bool CInteractiveHost::Create() {
    if (!m_impl->controls.CreateArea("QOR Control Host", kAreaSize)) {
        return false;
    }
    m_impl->Build();
    m_impl->Connect();
    m_impl->window->show();
    return true;
}

void CInteractiveHost::Impl::Build() {
    window = std::make_unique<QMainWindow>();
    window->setWindowTitle(QStringLiteral("QOR Control Host"));
    window->resize(1200, 720);
    auto splitter = std::make_unique<QSplitter>();
    splitter->addWidget(BuildObjectsPanel());
    auto area = std::make_unique<QScrollArea>();
    scroll = area.get();
    scroll->setWidget(QtWidgetOf(&controls.Area()));
    splitter->addWidget(area.release());
    splitter->addWidget(BuildMembersPanel());
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 560, 380});
    window->setCentralWidget(splitter.release());
}

QWidget* CInteractiveHost::Impl::BuildObjectsPanel() {
    auto panel = std::make_unique<QWidget>();
    QVBoxLayout* layout = LayoutOf<QVBoxLayout>(panel.get());
    AddTo<QLabel>(layout, QStringLiteral("Registered controls"));
    controlList = AddTo<QListWidget>(layout);
    controlList->setObjectName(QStringLiteral("registeredControls"));
    std::vector<std::string> progIds;
    std::string problem;
    if (FAILED(RegisteredControlProgIds(progIds, problem))) {
        registryProblem = Text(problem);
    }
    for (const std::string& progId : progIds) {
        controlList->addItem(Text(progId));
        controlList->item(controlList->count() - 1)->setIcon(ToolboxIcon(progId));
    }
    AddTo<QLabel>(layout, QStringLiteral("ProgID"));
    progIdEdit = AddTo<QLineEdit>(layout, QStringLiteral("ADODB.Connection"));
    progIdEdit->setObjectName(QStringLiteral("progId"));
    insertButton = Button("Insert Control", layout);
    insertButton->setObjectName(QStringLiteral("insertControl"));
    createButton = Button("Create Object", layout);
    createButton->setObjectName(QStringLiteral("createObject"));
    AddTo<QLabel>(layout, QStringLiteral("Objects"));
    objectList = AddTo<QListWidget>(layout);
    objectList->setObjectName(QStringLiteral("objects"));
    aboutButton = Button("About...", layout);
    aboutButton->setObjectName(QStringLiteral("about"));
    propertiesButton = Button("Properties...", layout);
    propertiesButton->setObjectName(QStringLiteral("properties"));
    removeButton = Button("Remove", layout);
    removeButton->setObjectName(QStringLiteral("remove"));
    return panel.release();
}

QWidget* CInteractiveHost::Impl::BuildMembersPanel() {
    auto panel = std::make_unique<QWidget>();
    QVBoxLayout* layout = LayoutOf<QVBoxLayout>(panel.get());
    AddTo<QLabel>(layout, QStringLiteral("Member"));
    memberBox = AddTo<QComboBox>(layout);
    memberBox->setObjectName(QStringLiteral("member"));
    memberBox->setEditable(true);
    memberBox->setInsertPolicy(QComboBox::NoInsert);
    accessBox = AddTo<QComboBox>(layout);
    accessBox->setObjectName(QStringLiteral("access"));
    accessBox->addItems({QStringLiteral("Call"), QStringLiteral("Get"), QStringLiteral("Put")});
    argsTable = AddTo<QTableWidget>(layout, 0, static_cast<int>(kColumnCount));
    argsTable->setObjectName(QStringLiteral("arguments"));
    argsTable->setHorizontalHeaderLabels({QStringLiteral("Parameter"), QStringLiteral("Type"),
                                          QStringLiteral("Out"), QStringLiteral("Value")});
    // The value is what the user types: it takes the room the other columns leave.
    QHeaderView* header = argsTable->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(kValueColumn, QHeaderView::Stretch);
    auto* rowButtons = AddTo<QWidget>(layout);
    QHBoxLayout* rowLayout = LayoutOf<QHBoxLayout>(rowButtons);
    addArgButton = Button("Add Argument", rowLayout);
    removeArgButton = Button("Remove Argument", rowLayout);
    invokeButton = Button("Invoke", layout);
    invokeButton->setObjectName(QStringLiteral("invoke"));
    output = AddTo<QPlainTextEdit>(layout);
    output->setObjectName(QStringLiteral("output"));
    output->setReadOnly(true);
    return panel.release();
}

void CInteractiveHost::Impl::Connect() {
    QObject::connect(controlList, &QListWidget::currentTextChanged, progIdEdit,
                     &QLineEdit::setText);
    QObject::connect(controlList, &QListWidget::itemDoubleClicked, [this] { InsertControl(); });
    QObject::connect(insertButton, &QPushButton::clicked, [this] { InsertControl(); });
    QObject::connect(createButton, &QPushButton::clicked, [this] { CreateObject(); });
    QObject::connect(objectList, &QListWidget::currentRowChanged, [this] { SelectionChanged(); });
    QObject::connect(aboutButton, &QPushButton::clicked, [this] { ShowAbout(); });
    QObject::connect(propertiesButton, &QPushButton::clicked, [this] { ShowProperties(); });
    QObject::connect(removeButton, &QPushButton::clicked, [this] { RemoveSelected(); });
    QObject::connect(memberBox, &QComboBox::currentIndexChanged, [this] { MemberChanged(); });
    QObject::connect(addArgButton, &QPushButton::clicked,
                     [this] { AddArgumentRow(ParamDescription{}); });
    QObject::connect(removeArgButton, &QPushButton::clicked, [this] {
        if (argsTable->rowCount() > 0) {
            argsTable->removeRow(argsTable->currentRow() >= 0 ? argsTable->currentRow()
                                                              : argsTable->rowCount() - 1);
        }
    });
    QObject::connect(invokeButton, &QPushButton::clicked, [this] { Invoke(); });
    SelectionChanged();
    if (!registryProblem.isEmpty()) {
        Report(QStringLiteral("! the class registry cannot be read: ") + registryProblem);
    }
}

void CInteractiveHost::Impl::InsertControl() {
    const std::string progId = progIdEdit->text().trimmed().toStdString();
    const int step = kCascade * static_cast<int>(controls.Sites().size());
    const RECT rect{kFirstControl.left + step, kFirstControl.top + step, kFirstControl.right + step,
                    kFirstControl.bottom + step};
    CControlSite* site = nullptr;
    const CallOutcome outcome = controls.InsertControl(progId, rect, site);
    if (!outcome.Succeeded()) {
        Report(QStringLiteral("! ") + Text(outcome.message));
        return;
    }
    AddObject(HostObject{QStringLiteral("control%1").arg(++created), progId,
                         CComPtr<IDispatch>(site->Dispatch()), site});
}

void CInteractiveHost::Impl::CreateObject() {
    const std::string progId = progIdEdit->text().trimmed().toStdString();
    CComPtr<IDispatch> object;
    const CallOutcome outcome = CreateDispatchObject(progId, object);
    if (!outcome.Succeeded()) {
        Report(QStringLiteral("! ") + Text(outcome.message));
        return;
    }
    AddObject(HostObject{QStringLiteral("object%1").arg(++created), progId, object, nullptr});
}

void CInteractiveHost::Impl::AddObject(HostObject object) {
    objectList->addItem(object.name + QStringLiteral(": ") + Text(object.progId));
    Report(QStringLiteral("+ %1 (%2)").arg(object.name, Text(object.progId)));
    objects.push_back(std::move(object));
    objectList->setCurrentRow(static_cast<int>(objects.size()) - 1);
}

HostObject* CInteractiveHost::Impl::Selected() {
    const int row = objectList->currentRow();
    return row >= 0 && row < static_cast<int>(objects.size()) ? &objects[row] : nullptr;
}

void CInteractiveHost::Impl::RemoveSelected() {
    HostObject* object = Selected();
    if (object == nullptr) {
        return;
    }
    const int row = objectList->currentRow();
    const HostObject removed = std::move(*object);
    objects.erase(objects.begin() + row);
    const std::unique_ptr<QListWidgetItem> item(objectList->takeItem(row));
    if (removed.site != nullptr) {
        controls.RemoveControl(*removed.site);
    }
    SelectionChanged();
}

void CInteractiveHost::Impl::ShowAbout() {
    if (HostObject* object = Selected(); object != nullptr && object->site != nullptr) {
        const CallOutcome outcome = object->site->ShowAbout();
        if (!outcome.Succeeded()) {
            Report(QStringLiteral("! ") + Text(outcome.message));
        }
    }
}

void CInteractiveHost::Impl::ShowProperties() {
    if (HostObject* object = Selected(); object != nullptr && object->site != nullptr) {
        const CallOutcome outcome = object->site->ShowProperties();
        if (!outcome.Succeeded()) {
            Report(QStringLiteral("! ") + Text(outcome.message));
        }
    }
}

void CInteractiveHost::Impl::SelectionChanged() {
    const HostObject* object = Selected();
    const bool control = object != nullptr && object->site != nullptr;
    aboutButton->setEnabled(control);
    propertiesButton->setEnabled(control);
    removeButton->setEnabled(object != nullptr);
    invokeButton->setEnabled(object != nullptr);
    members = object != nullptr ? DescribeMembers(object->dispatch.Get())
                                : std::vector<MemberDescription>();
    const QSignalBlocker quiet(memberBox);
    memberBox->clear();
    for (std::size_t i = 0; i < members.size(); ++i) {
        memberBox->addItem(Text(Signature(members[i])), static_cast<int>(i));
    }
    MemberChanged();
}

void CInteractiveHost::Impl::MemberChanged() {
    argsTable->setRowCount(0);
    const int index = memberBox->currentData().isValid() ? memberBox->currentData().toInt() : -1;
    if (index < 0 || index >= static_cast<int>(members.size())) {
        return;
    }
    // A long signature is read from its name on.
    memberBox->lineEdit()->setCursorPosition(0);
    const MemberDescription& member = members[static_cast<std::size_t>(index)];
    accessBox->setCurrentIndex(member.kind == DispKind::PropertyPut   ? kPut
                               : member.kind == DispKind::PropertyGet ? kGet
                                                                      : kCall);
    for (const ParamDescription& param : member.params) {
        AddArgumentRow(param);
    }
}

void CInteractiveHost::Impl::AddArgumentRow(const ParamDescription& param) {
    const int row = argsTable->rowCount();
    argsTable->insertRow(row);
    auto name = std::make_unique<QTableWidgetItem>(Text(param.name));
    argsTable->setItem(row, kNameColumn, name.release());
    auto type = std::make_unique<QComboBox>();
    for (const VARTYPE vt : kArgumentTypes) {
        type->addItem(Text(TypeName(vt)), static_cast<int>(vt));
    }
    type->setCurrentIndex(std::max(0, type->findData(static_cast<int>(param.type))));
    argsTable->setCellWidget(row, kTypeColumn, type.release());
    auto out = std::make_unique<QCheckBox>();
    out->setChecked(param.out);
    argsTable->setCellWidget(row, kOutColumn, out.release());
    argsTable->setItem(row, kValueColumn, std::make_unique<QTableWidgetItem>().release());
}

bool CInteractiveHost::Impl::BuildArguments(std::vector<CComVariant>& args,
                                            std::deque<CComVariant>& storage,
                                            std::vector<std::pair<int, CComVariant*>>& outs) {
    for (int row = 0; row < argsTable->rowCount(); ++row) {
        const auto* typeBox = qobject_cast<QComboBox*>(argsTable->cellWidget(row, kTypeColumn));
        const auto* outBox = qobject_cast<QCheckBox*>(argsTable->cellWidget(row, kOutColumn));
        const QTableWidgetItem* item = argsTable->item(row, kValueColumn);
        const QString text = item != nullptr ? item->text() : QString();
        const auto type = static_cast<VARTYPE>(typeBox->currentData().toInt());
        CComVariant value;
        std::string error;
        if (type == VT_DISPATCH && !text.trimmed().isEmpty()) {
            const auto found = std::find_if(objects.begin(), objects.end(), [&](const auto& o) {
                return o.name == text.trimmed();
            });
            if (found == objects.end()) {
                Report(QStringLiteral("! argument %1: no object named %2").arg(row + 1).arg(text));
                return false;
            }
            value = CComVariant(found->dispatch.Get());
        } else if (!ArgumentFromText(text.toStdString(), type, value, error)) {
            Report(QStringLiteral("! argument %1: %2").arg(row + 1).arg(Text(error)));
            return false;
        }
        if (outBox->isChecked()) {
            CComVariant& held = storage.emplace_back(value.IsMissing() ? CComVariant() : value);
            outs.emplace_back(row, &held);
            value = CComVariant::ByReference(&held);
        }
        args.push_back(std::move(value));
    }
    return true;
}

void CInteractiveHost::Impl::Invoke() {
    HostObject* object = Selected();
    const int index = memberBox->currentData().isValid() ? memberBox->currentData().toInt() : -1;
    const bool listed = index >= 0 && index < static_cast<int>(members.size()) &&
                        memberBox->currentText() == memberBox->itemText(memberBox->currentIndex());
    const std::string name = listed ? members[static_cast<std::size_t>(index)].name
                                    : memberBox->currentText().trimmed().toStdString();
    if (object == nullptr || name.empty()) {
        return;
    }
    std::vector<CComVariant> args;
    std::deque<CComVariant> storage;
    std::vector<std::pair<int, CComVariant*>> outs;
    if (!BuildArguments(args, storage, outs)) {
        return;
    }
    const CComPtr<IDispatch> target = object->dispatch;  // the list may grow below
    const QString label = object->name + QStringLiteral(".") + Text(name);
    CComVariant result;
    CallOutcome outcome;
    if (accessBox->currentIndex() == kPut) {
        outcome = args.size() == 1 ? PutMember(target.Get(), name, args.front())
                                   : CallOutcome{E_INVALIDARG, name + ": a put takes one value"};
    } else if (accessBox->currentIndex() == kGet && args.empty()) {
        outcome = GetMember(target.Get(), name, result);
    } else {
        outcome = CallMember(target.Get(), name, args, result);
    }
    if (!outcome.Succeeded()) {
        Report(QStringLiteral("! ") + Text(outcome.message));
        return;
    }
    Report(QStringLiteral("> %1 = %2").arg(label, Text(ValueText(result))));
    for (const auto& [row, held] : outs) {
        Report(QStringLiteral("  out %1 = %2")
                   .arg(argsTable->item(row, kNameColumn)->text(), Text(ValueText(*held))));
    }
    if (result.vt == VT_DISPATCH && result.pdispVal != nullptr) {
        AddObject(HostObject{QStringLiteral("result%1").arg(++created), name,
                             CComPtr<IDispatch>(result.pdispVal), nullptr});
    }
}
