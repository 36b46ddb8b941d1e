#include "MainFrame.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QUrl>

#include "BankwiseView.h"
#include "Document.h"
#include "DocumentRules.h"
#include "Profile.h"
#include "Prompt.h"
#include "StringTable.h"

// The images live in this static library; its resources must be registered
// by hand, from outside any namespace.
static void InitIconResources()
{
    Q_INIT_RESOURCE(icons);
}

namespace bankwise {
namespace {

// Our own images (res/icons), the same on every desktop: a theme's icon of
// the same name may exist only as a format this Qt cannot draw.
QIcon ToolIcon(const char* resource)
{
    return QIcon(QStringLiteral(":/icons/") + QString::fromLatin1(resource));
}

}  // namespace

CMainFrame::CMainFrame(IProfile& profile) : m_profile(profile), m_pView(new CBankwiseView(this))
{
    InitIconResources();
    setObjectName(QStringLiteral("MainFrame"));
    QIcon icon(QStringLiteral(":/icons/bankwise.png"));
    icon.addFile(QStringLiteral(":/icons/bankwise-256.png"));
    setWindowIcon(icon);
    setCentralWidget(m_pView);
    setAcceptDrops(true);
    // The editor takes drops of text; dropped files are the frame's.
    m_pView->setAcceptDrops(false);

    createActions();
    createMenus();
    createToolBar();
    createStatusBar();
    PlaceWindow();

    connect(m_pView, &CBankwiseView::EditedByUser, this, [this] { Document().SetModifiedFlag(); });
    qApp->installEventFilter(this);
    UpdateLockIndicators();
}

CMainFrame::~CMainFrame()
{
    qApp->removeEventFilter(this);
}

QAction* CMainFrame::Action(std::uint32_t id) const
{
    return m_actions.contains(id) ? m_actions.at(id) : nullptr;
}

QLabel* CMainFrame::Pane(std::uint32_t id) const
{
    return m_panes.contains(id) ? m_panes.at(id) : nullptr;
}

void CMainFrame::createActions()
{
    using Keys = QList<QKeySequence>;
    struct CCommand
    {
        std::uint32_t id;
        const char* text;
        Keys keys;
        const char* icon = nullptr;
        // The document is made after the window: it is looked up when a
        // command runs. Commands without one are wired below or by the
        // application (printing, About).
        std::function<void(CDocument&)> run = nullptr;
        bool enabled = true;
    };
    const CCommand commands[] = {
        {ID_FILE_OPEN,
         "&Open...\tCtrl+O",
         {Qt::CTRL | Qt::Key_O},
         "open.png",
         &CDocument::OnFileOpen},
        {ID_FILE_SAVE, "&Save\tCtrl+S", {Qt::CTRL | Qt::Key_S}, "save.png", &CDocument::OnFileSave},
        {ID_FILE_SAVE_AS, "Save &As...", {}, nullptr, &CDocument::OnFileSaveAs},
        {ID_FILE_EXPORT, "&Export...", {}, nullptr, &CDocument::OnFileExport, false},
        {ID_FILE_PRINT, "&Print...\tCtrl+P", {Qt::CTRL | Qt::Key_P}, "print.png"},
        {ID_FILE_PRINT_PREVIEW, "Print Pre&view", {}},
        {ID_FILE_PRINT_SETUP, "P&rint Setup...", {}},
        {ID_APP_EXIT, "E&xit", {}},
        // The edit commands are the editor's own, with the classic keys
        // beside the usual ones.
        {ID_EDIT_UNDO,
         "&Undo\tCtrl+Z",
         {Qt::CTRL | Qt::Key_Z, Qt::ALT | Qt::Key_Backspace},
         nullptr,
         nullptr,
         false},
        {ID_EDIT_CUT,
         "Cu&t\tCtrl+X",
         {Qt::CTRL | Qt::Key_X, Qt::SHIFT | Qt::Key_Delete},
         "cut.png",
         nullptr,
         false},
        {ID_EDIT_COPY,
         "&Copy\tCtrl+C",
         {Qt::CTRL | Qt::Key_C, Qt::CTRL | Qt::Key_Insert},
         "copy.png",
         nullptr,
         false},
        {ID_EDIT_PASTE,
         "&Paste\tCtrl+V",
         {Qt::CTRL | Qt::Key_V, Qt::SHIFT | Qt::Key_Insert},
         "paste.png"},
        {ID_VIEW_TOOLBAR, "&Toolbar", {}},
        {ID_VIEW_STATUS_BAR, "&Status Bar", {}},
        {ID_VIEW_OPTIONS, "&Options...", {}, nullptr, &CDocument::OnViewOptions, false},
        {ID_APP_ABOUT, "&About Bankwise...", {}, "about.png"},
        // Keys without a menu item: they live on the window itself.
        {ID_FILE_NEW, "New", {Qt::CTRL | Qt::Key_N}, nullptr, &CDocument::OnFileNew},
        {ID_NEXT_PANE, "Next Pane", {Qt::Key_F6}},
        {ID_PREV_PANE, "Previous Pane", {Qt::SHIFT | Qt::Key_F6}},
    };
    for (const CCommand& command : commands) {
        auto* action = new QAction(QString::fromLatin1(command.text), this);
        const QString prompt = LoadQString(command.id);
        const qsizetype newline = prompt.indexOf(QLatin1Char('\n'));
        action->setStatusTip(newline < 0 ? prompt : prompt.left(newline));
        if (newline >= 0)
            action->setToolTip(prompt.mid(newline + 1));
        action->setShortcuts(command.keys);
        if (command.icon != nullptr)
            action->setIcon(ToolIcon(command.icon));
        action->setEnabled(command.enabled);
        if (const auto& run = command.run)
            connect(action, &QAction::triggered, this, [this, run] { run(Document()); });
        m_actions[command.id] = action;
    }
    connect(Action(ID_APP_EXIT), &QAction::triggered, this, &QWidget::close);
    for (const std::uint32_t id : {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR}) {
        Action(id)->setCheckable(true);
        Action(id)->setChecked(true);
    }

    QAction* undo = Action(ID_EDIT_UNDO);
    connect(undo, &QAction::triggered, m_pView, &QPlainTextEdit::undo);
    connect(m_pView, &QPlainTextEdit::undoAvailable, undo, &QAction::setEnabled);
    connect(Action(ID_EDIT_CUT), &QAction::triggered, m_pView, &QPlainTextEdit::cut);
    connect(Action(ID_EDIT_COPY), &QAction::triggered, m_pView, &QPlainTextEdit::copy);
    for (const std::uint32_t id : {ID_EDIT_CUT, ID_EDIT_COPY})
        connect(m_pView, &QPlainTextEdit::copyAvailable, Action(id), &QAction::setEnabled);
    QAction* paste = Action(ID_EDIT_PASTE);
    connect(paste, &QAction::triggered, m_pView, &QPlainTextEdit::paste);
    // Offered only while the clipboard holds text, as it changes.
    const auto followClipboard = [paste] {
        const QMimeData* data = QApplication::clipboard()->mimeData();
        paste->setEnabled(data != nullptr && data->hasText());
    };
    connect(QApplication::clipboard(), &QClipboard::dataChanged, paste, followClipboard);
    followClipboard();

    // One pane only: both keys bring the focus back to the text.
    for (const std::uint32_t id : {ID_NEXT_PANE, ID_PREV_PANE})
        connect(Action(id), &QAction::triggered, m_pView, [this] { m_pView->setFocus(); });
    addActions({Action(ID_FILE_NEW), Action(ID_NEXT_PANE), Action(ID_PREV_PANE)});
}

void CMainFrame::createMenus()
{
    m_pFileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    AddItems(m_pFileMenu, {ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_FILE_EXPORT, 0,
                           ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_FILE_PRINT_SETUP, 0});
    m_pRecentPlaceholder = m_pFileMenu->addAction(QStringLiteral("Recent File"));
    m_pRecentPlaceholder->setEnabled(false);
    m_pRecentEnd = m_pFileMenu->addSeparator();
    m_pFileMenu->addAction(Action(ID_APP_EXIT));
    AddItems(menuBar()->addMenu(QStringLiteral("&Edit")),
             {ID_EDIT_UNDO, 0, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE});
    AddItems(menuBar()->addMenu(QStringLiteral("&View")),
             {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, 0, ID_VIEW_OPTIONS});
    AddItems(menuBar()->addMenu(QStringLiteral("&Help")), {ID_APP_ABOUT});
}

void CMainFrame::createToolBar()
{
    m_pToolBar = new QToolBar(QStringLiteral("Toolbar"), this);
    m_pToolBar->setObjectName(QStringLiteral("AFX_IDW_TOOLBAR"));
    m_pToolBar->setMovable(true);
    m_pToolBar->setFloatable(true);
    m_pToolBar->setAllowedAreas(Qt::AllToolBarAreas);
    m_pToolBar->setIconSize(QSize(16, 16));
    AddItems(m_pToolBar, {ID_FILE_OPEN, ID_FILE_SAVE, 0, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE,
                          0, ID_FILE_PRINT, 0, ID_APP_ABOUT});
    addToolBar(Qt::TopToolBarArea, m_pToolBar);

    QAction* toggle = Action(ID_VIEW_TOOLBAR);
    connect(toggle, &QAction::toggled, m_pToolBar, &QWidget::setVisible);
    connect(m_pToolBar, &QToolBar::visibilityChanged, toggle, &QAction::setChecked);
}

void CMainFrame::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // A message given before the window was first shown (a dump opened from
    // the command line) would be drawn over the idle text, which the status
    // bar hides only while it is visible: give the message again now.
    QStatusBar* bar = statusBar();
    if (const QString text = bar->currentMessage(); !text.isEmpty()) {
        bar->clearMessage();
        bar->showMessage(text);
    }
}

void CMainFrame::createStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("AFX_IDW_STATUS_BAR"));
    auto* message = new QLabel(LoadQString(AFX_IDS_IDLEMESSAGE), bar);
    m_panes[0] = message;
    bar->addWidget(message, 1);
    for (const std::uint32_t id : {ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL}) {
        auto* pane = new QLabel(bar);
        pane->setAlignment(Qt::AlignCenter);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        // Wide enough for its text, so the panes do not jump when a key is pressed.
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(LoadQString(id)) + 8);
        m_panes[id] = pane;
        bar->addPermanentWidget(pane);
    }
    QAction* toggle = Action(ID_VIEW_STATUS_BAR);
    connect(toggle, &QAction::toggled, bar, &QWidget::setVisible);
}

void CMainFrame::UpdateLockIndicators()
{
    const CLockKeys keys = m_lockKeys();
    const auto show = [this](std::uint32_t id, bool on) {
        m_panes[id]->setText(on ? LoadQString(id) : QString());
    };
    show(ID_INDICATOR_CAPS, keys.caps);
    show(ID_INDICATOR_NUM, keys.num);
    show(ID_INDICATOR_SCRL, keys.scroll);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    // The lock keys change only by a key press or while another program has
    // the focus.
    const auto isLockKey = [event] {
        const int key = static_cast<QKeyEvent*>(event)->key();
        return key == Qt::Key_CapsLock || key == Qt::Key_NumLock || key == Qt::Key_ScrollLock;
    };
    if (event->type() == QEvent::ApplicationActivate ||
        (event->type() == QEvent::KeyRelease && isLockKey()))
        UpdateLockIndicators();
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::SetStatusText(const std::string& text)
{
    statusBar()->showMessage(FromDocText(text));
}

void CMainFrame::OnTitleChanged()
{
    setWindowTitle(FromDocText(Document().GetTitle()) + QStringLiteral(" - ") +
                   LoadQString(AFX_IDS_APP_TITLE));
}

void CMainFrame::OnExtractorChanged()
{
    Action(ID_VIEW_OPTIONS)->setEnabled(Document().HasExtractor());
    Action(ID_FILE_EXPORT)->setEnabled(Document().HasExtractor());
}

void CMainFrame::OnRecentFilesChanged()
{
    for (QAction* action : m_recentActions)
        delete action;
    m_recentActions.clear();
    const std::vector<std::string>& files = Document().GetRecentFiles();
    m_pRecentPlaceholder->setVisible(files.empty());
    for (std::size_t i = 0; i < files.size(); ++i) {
        auto* action = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(
                                       QDir::toNativeSeparators(FromDocText(files[i]))),
                                   this);
        action->setStatusTip(LoadQString(ID_FILE_MRU_FILE1 + static_cast<unsigned>(i)));
        connect(action, &QAction::triggered, this, [this, i] { Document().OnOpenRecentFile(i); });
        m_pFileMenu->insertAction(m_pRecentEnd, action);
        m_recentActions.push_back(action);
    }
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (!Document().CanCloseFrame()) {
        event->ignore();
        return;
    }
    const QRect normal = normalGeometry();
    StoreWindowPlace(m_profile,
                     {normal.x(), normal.y(), normal.width(), normal.height(), isMaximized()});
    event->accept();
}

void CMainFrame::PlaceWindow()
{
    // The screen it was left on, while that is still there.
    const auto stored = [this](const char* entry) {
        return m_profile.GetProfileInt(kSettingsSection, entry, 0);
    };
    const QPoint centre(stored(kEntryWindowLeft) + stored(kEntryWindowWidth) / 2,
                        stored(kEntryWindowTop) + stored(kEntryWindowHeight) / 2);
    const QScreen* screen = QGuiApplication::screenAt(centre);
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        resize(640, 480);
        return;
    }
    const QRect area = screen->availableGeometry();
    // Room for the longest lines of a text (the header names the family)
    // without a wrap, beside the scroll bar.
    const int lines = m_pView->fontMetrics().averageCharWidth() * 80 +
                      style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 16;
    const CWindowPlace place =
        PlaceMainWindow(m_profile, {area.x(), area.y(), area.width(), area.height()}, lines);
    setGeometry(place.x, place.y, place.width, place.height);
    if (place.maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    QStringList files;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            files.append(url.toLocalFile());
    }
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    // Opened once the drop has returned, one after another as if chosen with
    // File > Open: boxes shown from inside a drop would hold up the source.
    QMetaObject::invokeMethod(
        this,
        [this, files] {
            activateWindow();
            for (const QString& file : files)
                Document().OpenDocumentFile(ToDocText(file));
        },
        Qt::QueuedConnection);
}

}  // namespace bankwise
