// Extension toolbars and panes in the Qt main window: buttons cut from the module's image file
// with magenta transparent, and clicks routed as menu commands.
#include "shell/extension/QtExtensionFrame.h"

#include <QDockWidget>
#include <QImage>
#include <QMainWindow>
#include <QPixmap>
#include <QToolBar>

#include "commands/MenuCommands.h"
#include "commands/Session.h"
#include "shell/extension/ModuleLoader.h"

namespace {

constexpr int kCell = 16;
constexpr int kDockWindowId = 332;
constexpr int kDockWidth = 230;
constexpr int kDockHeight = 400;

QString qText(const std::u16string& text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

// The image with magenta made transparent; null when the file cannot be read.
QImage buttonImage(const std::filesystem::path& file) {
    if (file.empty()) return {};
    QImage image(QString::fromStdString(file.string()));
    if (image.isNull()) return {};
    image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((row[x] & 0xFFFFFF) == 0xFF00FF) row[x] = 0;
    }
    return image;
}

}  // namespace

CExtensionFrame::CExtensionFrame(QMainWindow& window, mmSession& session,
                                 std::function<void()> afterInput)
    : QObject(&window), window_(window), session_(session), afterInput_(std::move(afterInput)) {
    SetExtensionFrame(this);
}

CExtensionFrame::~CExtensionFrame() {
    if (ExtensionFrame() == this) SetExtensionFrame(nullptr);
}

void* CExtensionFrame::MainWindow() {
    return &window_;
}

void CExtensionFrame::CreateToolbar(const mmExtensionToolbar& t) {
    if (toolbars_.at(t.index)) {
        session_.host.messageBox("Failed to create toolbar\n",
                                 kestrel::platform::MessageKind::Warning);
        return;
    }
    auto* bar = new QToolBar(qText(t.title), &window_);
    bar->setObjectName(QStringLiteral("extensionToolbar%1").arg(t.index));
    bar->setIconSize(QSize(kCell, kCell));
    const QImage images = buttonImage(t.imageFile);
    for (const mmExtensionButton& b : t.buttons) {
        if (b.separator) {
            bar->addSeparator();
            continue;
        }
        const std::u16string tip =
            ExtensionTooltip(session_.extensionCommands, b.commandId).value_or(b.tooltip);
        QAction* action = bar->addAction(qText(tip));
        action->setToolTip(qText(tip));
        action->setData(b.commandId);
        if (b.image >= 0 && (b.image + 1) * kCell <= images.width())
            action->setIcon(QPixmap::fromImage(images.copy(b.image * kCell, 0, kCell, kCell)));
        connect(action, &QAction::triggered, this, [this, id = b.commandId] { ButtonClicked(id); });
    }
    // The first toolbar docks at the top, each next one beside the one before it.
    const Qt::ToolBarArea area =
        t.index > 0 && toolbars_[t.index - 1] ? window_.toolBarArea(toolbars_[t.index - 1])
                                              : Qt::TopToolBarArea;
    window_.addToolBar(area, bar);
    toolbars_[t.index] = bar;
}

void CExtensionFrame::CreateDockbar(int index, const std::u16string& title, void* content) {
    if (docks_.at(index)) return;
    auto* dock = new QDockWidget(qText(title), &window_);
    dock->setObjectName(QStringLiteral("extensionDockbar%1").arg(index));
    dock->setProperty("windowId", kDockWindowId + index);
    dock->setAllowedAreas(Qt::AllDockWidgetAreas);
    auto* widget = static_cast<QWidget*>(content);
    widget->setParent(dock);
    widget->move(0, 0);
    widget->resize(kDockWidth, kDockHeight);
    dock->setWidget(widget);
    widget->show();
    window_.addDockWidget(Qt::TopDockWidgetArea, dock);
    docks_[index] = dock;
}

void CExtensionFrame::ButtonClicked(int32_t commandId) {
    SubmitMenuCommandId(session_, commandId);
    if (afterInput_) afterInput_();
}

CExtensionFrame* LoadExtensionModulesInto(QMainWindow& window, mmSession& session,
                                          std::function<void()> afterInput) {
    auto* frame = new CExtensionFrame(window, session, std::move(afterInput));
    LoadExtensionModules(session, ExtensionModulesFolder());
    return frame;
}
