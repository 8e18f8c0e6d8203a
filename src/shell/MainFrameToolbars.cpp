// CMainFrame: the built-in toolbars, and the layer list in the "Layers" toolbar.
#include <QComboBox>
#include <QToolBar>

#include "commands/Session.h"
#include "drawing/Drawing.h"
#include "shell/CommunDialog.h"
#include "shell/FrameCommands.h"
#include "shell/Icons.h"
#include "shell/MainFrame.h"
#include "shell/QtText.h"
#include "widgets/ColorSwatch.h"

namespace {

constexpr int kLayerComboWidth = 205;
constexpr int kLayerComboPopupItems = 16;

}  // namespace

QToolBar* CMainFrame::CreateToolbar(const mmToolbarInfo& info) {
    auto* bar = new QToolBar(ToQString(info.title), this);
    bar->setObjectName(ToQString(info.objectName));
    bar->setIconSize(QSize(16, 16));
    for (const mmToolButton& button : info.buttons) {
        if (button.id == 0) {
            bar->addSeparator();
            continue;
        }
        // A module's tooltip for the button's id comes before the frame's own.
        const std::optional<std::u16string> moduleTip =
            ExtensionTooltip(session_.extensionCommands, button.id);
        const QString tip = moduleTip ? ToQString(*moduleTip) : ToQString(button.tip);
        QAction* action = NewCommandAction(button.id, tip, bar);
        action->setIcon(KestrelIcon(button.icon));
        action->setToolTip(action->isEnabled() ? tip : tip + QStringLiteral(" (no action)"));
        bar->addAction(action);
    }
    return bar;
}

// The "Layers" toolbar: the layers dialog's button and the list of layers, each drawn with a
// swatch of its colour; choosing one makes it the current layer.
void CMainFrame::CreateLayersToolbar() {
    QToolBar* bar = CreateToolbar(LayersToolbar());
    bar->setAllowedAreas(Qt::TopToolBarArea);
    layerCombo_ = new QComboBox(bar);
    layerCombo_->setObjectName(QStringLiteral("layerCombo"));
    layerCombo_->setFixedWidth(kLayerComboWidth);
    layerCombo_->setMaxVisibleItems(kLayerComboPopupItems);
    layerCombo_->setToolTip(QStringLiteral("Current layer"));
    layerCombo_->setFocusPolicy(Qt::NoFocus);
    bar->addWidget(layerCombo_);
    connect(layerCombo_, &QComboBox::activated, this, [this](int index) {
        if (index >= 0 && index < static_cast<int>(shownLayers_.items.size()))
            ChooseCurrentLayer(session_.drawing, shownLayers_.items[index].id);
        RefreshLayerList();
        command_->FocusInput();
    });
    addToolBar(Qt::TopToolBarArea, bar);  // placed after "Main" below
}

void CMainFrame::CreateBuiltinToolbars() {
    QToolBar* layers = findChild<QToolBar*>(QStringLiteral("layersToolbar"));
    removeToolBar(layers);
    for (const mmToolbarInfo& info : BuiltinToolbars()) {
        QToolBar* bar = CreateToolbar(info);
        addToolBar(info.side == mmDockSide::Left ? Qt::LeftToolBarArea : Qt::TopToolBarArea, bar);
        if (info.objectName == "mainToolbar") {
            addToolBar(Qt::TopToolBarArea, layers);
            layers->show();
        }
    }
}

void CMainFrame::RefreshLayerList() {
    shownLayers_ = LayerListOf(session_.drawing);
    const QSignalBlocker block(layerCombo_);
    layerCombo_->clear();
    for (const mmLayerListItem& item : shownLayers_.items)
        layerCombo_->addItem(SwatchIcon(ColorOf(item.color)),
                             ToQString(item.name),
                             item.id);
    layerCombo_->setCurrentIndex(shownLayers_.current);
}
