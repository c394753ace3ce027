#include "app/ToolBarLayout.h"

#include <QMainWindow>
#include <QToolBar>

#include <algorithm>
#include <map>
#include <set>

namespace notarium {

namespace {

bool isHorizontalArea(Qt::ToolBarArea area)
{
    return area == Qt::TopToolBarArea || area == Qt::BottomToolBarArea;
}

// The coordinate that tells rows apart, and the one along a row.
int acrossRows(const QToolBar& bar, Qt::ToolBarArea area)
{
    return isHorizontalArea(area) ? bar.y() : bar.x();
}

int alongRow(const QToolBar& bar, Qt::ToolBarArea area)
{
    return isHorizontalArea(area) ? bar.x() : bar.y();
}

} // namespace

ToolBarPosition describeToolBar(const QMainWindow& window, const QToolBar& bar)
{
    ToolBarPosition position;
    position.visible = bar.isVisible() ? 1 : 0;
    const Qt::ToolBarArea area = window.toolBarArea(const_cast<QToolBar*>(&bar));
    position.lastDock = static_cast<int>(area);
    if (bar.isFloating()) {
        position.dockedTo = 0;
        position.floatLeft = bar.x();
        position.floatTop = bar.y();
        return position;
    }
    position.dockedTo = static_cast<int>(area);
    // Rows are told apart by where the docked bars of the same edge stand.
    std::set<int> rows;
    for (const QToolBar* other : window.findChildren<QToolBar*>(Qt::FindDirectChildrenOnly))
        if (!other->isFloating() && window.toolBarArea(const_cast<QToolBar*>(other)) == area
            && (other->isVisible() || other == &bar))
            rows.insert(acrossRows(*other, area));
    std::vector<int> ordered(rows.begin(), rows.end());
    // Row 0 is the one nearest the window's edge: the top of the top edge, the bottom of the
    // bottom edge.
    if (area == Qt::BottomToolBarArea || area == Qt::RightToolBarArea)
        std::reverse(ordered.begin(), ordered.end());
    const auto row = std::find(ordered.begin(), ordered.end(), acrossRows(bar, area));
    position.dockRow = static_cast<int>(row - ordered.begin());
    position.dockPos = alongRow(bar, area);
    return position;
}

void placeToolBars(QMainWindow& window, const QList<QToolBar*>& bars, const Settings& settings)
{
    struct Placed {
        int row;
        int pos;
        QToolBar* bar;
        bool operator<(const Placed& other) const
        {
            return std::tie(row, pos) < std::tie(other.row, other.pos);
        }
    };
    std::map<int, std::vector<Placed>> byArea;
    for (QToolBar* bar : bars) {
        const auto position = settings.toolBarPosition(bar->objectName().toStdString());
        if (!position)
            continue;
        bar->setVisible(position->visible != 0);
        // A bar that floated goes back to the edge it came from.
        const int area = position->dockedTo != 0 ? position->dockedTo : position->lastDock;
        if (area == Qt::LeftToolBarArea || area == Qt::RightToolBarArea || area == Qt::TopToolBarArea
            || area == Qt::BottomToolBarArea)
            byArea[area].push_back({ position->dockRow, position->dockPos, bar });
    }
    for (auto& [area, placed] : byArea) {
        std::stable_sort(placed.begin(), placed.end());
        const auto edge = static_cast<Qt::ToolBarArea>(area);
        for (std::size_t i = 0; i < placed.size(); ++i) {
            if (i > 0 && placed[i].row != placed[i - 1].row)
                window.addToolBarBreak(edge);
            window.addToolBar(edge, placed[i].bar);
        }
    }
}

} // namespace notarium
