#include "app/widgets/MainMenus.h"

#include <QAction>
#include <QHash>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace tracella {

const QList<MenuItemSpec>& MenuTable()
{
    static const QList<MenuItemSpec> table = {
        {"mnuFile", "&File", nullptr, nullptr, false, false, true},
        {"mnuFileNew", "&New", "Ctrl+N", "mnuFile", true, false, false},
        {"mnuViewOptions", "&Options...", "Ctrl+O", "mnuFile", true, false, false},
        {"mnuFilePrint", "&Print...", "Ctrl+P", "mnuFile", true, false, false},
        {"mnuFileExit", "E&xit", nullptr, "mnuFile", true, false, false},
        // Projects come after the designed items, which keep their places.
        {"mnuFileOpenProject", "Open Pro&ject...", "Ctrl+Shift+O", "mnuFile", false, false, false},
        {"mnuFileSaveProject", "Sa&ve Project...", "Ctrl+Shift+S", "mnuFile", false, false, false},
        {"mnuFileSaveProjectAs", "Save Project As...", nullptr, "mnuFile", false, false, false},
        {"mnuPicture", "&Picture", nullptr, nullptr, false, false, true},
        {"mnuPictureScale", "&Scale", "Ctrl+M", "mnuPicture", false, true, false},
        {"mnuPictureResetScale", "&Reset Scale", nullptr, "mnuPicture", true, false, false},
        {"mnuPictureImport", "&Import", "Ctrl+L", "mnuPicture", false, false, false},
        {"mnuPicturePaste", "&Paste", "Ctrl+V", "mnuPicture", false, false, false},
        {"mnuPictureCapture", "Cap&ture", "Ctrl+T", "mnuPicture", false, false, false},
        {"mnuPictureScanner", "Scanne&r", "Ctrl+R", "mnuPicture", true, false, false},
        {"mnuPictureCopy", "&Copy", nullptr, "mnuPicture", false, false, false},
        {"mnuPictureScaleAxes", "Scale by A&xes...", nullptr, "mnuPicture", false, false, false},
        {"mnuPictureFindAxes", "&Find Axes", nullptr, "mnuPicture", true, false, false},
        {"mnuPictureImportKeepingScale", "Import &Keeping Scale...", nullptr, "mnuPicture", false, false, false},
        {"mnuData", "&Data", nullptr, nullptr, false, false, true},
        {"mnuDataAR", "A&utoRead", "Ctrl+Y", "mnuData", false, false, false},
        {"mnuDataTrace", "Trace Curve...", nullptr, "mnuData", false, false, false},
        {"mnuDataSpline", "&Interpolate", "Ctrl+I", "mnuData", true, false, false},
        {"mnuDataSave", "&Save", "Ctrl+S", "mnuData", false, false, false},
        {"mnuDataSaveAs", "Save &As...", nullptr, "mnuData", false, false, false},
        {"mnuDataAppendTo", "A&ppend to...", "Ctrl+A", "mnuData", true, false, false},
        {"mnuDataCopy", "&Copy", "Ctrl+C", "mnuData", false, false, false},
        {"mnuDataRemove", "&Remove", nullptr, "mnuData", false, false, true},
        {"mnuDataRemoveSelected", "Selected Values", nullptr, "mnuDataRemove", false, false, false},
        {"mnuDataRemoveAll", "All Values", nullptr, "mnuDataRemove", false, false, false},
        {"mnuDataRemoveRepeated", "Repeated Values", nullptr, "mnuDataRemove", false, false, false},
        {"mnuDataSort", "Sor&t", nullptr, "mnuData", true, false, true},
        {"mnuDataSortX", "Based on &X", nullptr, "mnuDataSort", false, false, false},
        {"mnuDataSortY", "Based on &Y", nullptr, "mnuDataSort", false, false, false},
        {"mnuDataCurves", "Cur&ves", nullptr, "mnuData", false, false, true},
        {"mnuDataCurveAdd", "&Add Curve...", nullptr, "mnuDataCurves", false, false, false},
        {"mnuDataCurveRename", "&Rename Curve...", nullptr, "mnuDataCurves", false, false, false},
        {"mnuDataCurveDelete", "&Delete Curve", nullptr, "mnuDataCurves", false, false, false},
        {"mnuDataCurveColour", "Curve &Colour...", nullptr, "mnuDataCurves", false, false, false},
        {"mnuDataSaveAllCurves", "Save A&ll Curves...", nullptr, "mnuData", true, false, false},
        {"mnuDataUndo", "&Undo", "Alt+Backspace", "mnuData", false, false, false},
        {"mnuDataRedo", "&Redo", "Ctrl+Shift+Z", "mnuData", false, false, false},
        {"mnuView", "&View", nullptr, nullptr, false, false, true},
        {"mnuViewToolbar", "&Toolbar", nullptr, "mnuView", false, true, false},
        {"mnuViewStatusBar", "Status &Bar", nullptr, "mnuView", false, true, false},
        {"mnuViewImageToolbar", "&Image Toolbar", nullptr, "mnuView", true, true, false},
        {"mnuViewZoom", "&Zoom ", "Ctrl+Z", "mnuView", false, true, false},
        {"mnuViewSteps", "&Guide", "Ctrl+G", "mnuView", false, true, false},
        {"mnuViewRefresh", "&Refresh", nullptr, "mnuView", false, false, false},
        {"mnuViewAxes", "Calibrated A&xes", nullptr, "mnuView", false, true, false},
        {"mnuWindow", "&Window", nullptr, nullptr, false, false, true},
        {"mnuWindowCascade", "&Cascade", nullptr, "mnuWindow", false, false, false},
        {"mnuWindowTileHorizontal", "Tile &Horizontal", nullptr, "mnuWindow", false, false, false},
        {"mnuWindowTileVertical", "Tile &Vertical", nullptr, "mnuWindow", false, false, false},
        {"mnuWindowArrangeIcons", "&Arrange Icons", nullptr, "mnuWindow", false, false, false},
        {"mnuHelp", "&Help", nullptr, nullptr, false, false, true},
        {"mnuHelpContents", "&Contents", nullptr, "mnuHelp", false, false, false},
        {"mnuHelpSearch", "&Search For Help On...", nullptr, "mnuHelp", true, false, false},
        {"mnuHelpAbout", "&About Tracella...", nullptr, "mnuHelp", false, false, false},
        {"mnuPopUpMenu", "PopUpMenu", nullptr, nullptr, false, false, true},
        {"mnuPopUpCopy", "&Copy", nullptr, "mnuPopUpMenu", true, false, false},
        {"mnuPopUpRemove", "&Remove", nullptr, "mnuPopUpMenu", false, false, false},
        {"mnuPopUpRemoveAll", "R&emove All", nullptr, "mnuPopUpMenu", false, false, false},
        {"mnuPopUpRemoveRepeated", "Remove Repeated", nullptr, "mnuPopUpMenu", true, false, false},
        {"mnuPopUpSave", "&Save", nullptr, "mnuPopUpMenu", false, false, false},
        {"mnuPopUpSaveAs", "Save &As...", nullptr, "mnuPopUpMenu", false, false, false},
    };
    return table;
}

const QList<ToolButtonSpec>& ToolbarTable()
{
    static const QList<ToolButtonSpec> table = {
        {"New", "New Picture", "mnuFileNew"},
        {"Save", "Save Data Points", "mnuDataSave"},
        {"Print", "Print Data Points", "mnuFilePrint"},
        {nullptr, nullptr, nullptr},
        {"Paste", "Paste Picture", "mnuPicturePaste"},
        {"Open", "Open Picture File", "mnuPictureImport"},
        {nullptr, nullptr, nullptr},
        {"SortXY", "Sort based on X", "mnuDataSortX"},
        {"SortYX", "Sort based on Y", "mnuDataSortY"},
        {nullptr, nullptr, nullptr},
        {"RemoveAll", "Remove All", "mnuDataRemoveAll"},
        {"RemoveRepeated", "Remove Repeated Values", "mnuDataRemoveRepeated"},
        {"RemoveSelected", "Remove Selected Values", "mnuDataRemoveSelected"},
        {nullptr, nullptr, nullptr},
        {"AutoRead", "Autoread", "mnuDataAR"},
        {"TraceCurve", "Trace Curve", "mnuDataTrace"},
        {"Interpolate", "Interpolate", "mnuDataSpline"},
        {nullptr, nullptr, nullptr},
        {"Options", "Options", "mnuViewOptions"},
        {"Capture", "Capture Image from Screen", "mnuPictureCapture"},
        {"Scanner", "Acquire Image from Scanner", "mnuPictureScanner"},
        {"Zoom", "Zoom", "mnuViewZoom"},
    };
    return table;
}

void BuildMenus(QMenuBar* bar, QWidget* owner)
{
    QHash<QString, QMenu*> menus;
    for (const MenuItemSpec& item : MenuTable()) {
        const QString name = QString::fromLatin1(item.name);
        const QString caption = QString::fromLatin1(item.caption);
        QAction* action = nullptr;
        if (item.submenu) {
            QMenu* menu = item.parent ? menus.value(QString::fromLatin1(item.parent))->addMenu(caption)
                                      : new QMenu(caption, owner);
            menu->setObjectName(name);
            menus.insert(name, menu);
            action = menu->menuAction();
            // The pop-up menu is never on the menu bar.
            if (!item.parent && name != QStringLiteral("mnuPopUpMenu"))
                bar->addMenu(menu);
        } else {
            action = menus.value(QString::fromLatin1(item.parent))->addAction(caption);
            if (item.shortcut)
                action->setShortcut(QKeySequence(QString::fromLatin1(item.shortcut)));
            action->setCheckable(item.checkable);
        }
        action->setObjectName(name);
        if (item.separatorAfter)
            menus.value(QString::fromLatin1(item.parent))->addSeparator();
    }
}

QString CommandOfToolbarKey(const QString& key)
{
    for (const ToolButtonSpec& button : ToolbarTable()) {
        if (button.key && key == QLatin1String(button.key))
            return QString::fromLatin1(button.command);
    }
    return {};
}

} // namespace tracella
