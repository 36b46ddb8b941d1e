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

QAction* CMainFrame::AddCommand(std::uint32_t id, const char* text)
{
    auto* action = new QAction(QString::fromLatin1(text), this);
    const QString prompt = LoadQString(id);
    const qsizetype newline = prompt.indexOf(QLatin1Char('\n'));
    action->setStatusTip(newline < 0 ? prompt : prompt.left(newline));
    if (newline >= 0)
        action->setToolTip(prompt.mid(newline + 1));
    m_actions[id] = action;
    return action;
}

QAction* CMainFrame::Action(std::uint32_t id) const
{
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

QLabel* CMainFrame::Pane(std::uint32_t id) const
{
    const auto it = m_panes.find(id);
    return it == m_panes.end() ? nullptr : it->second;
}

void CMainFrame::createActions()
{
    // The document is made after the window: it is looked up when a command runs.
    const auto doc = [this](auto command) { return [this, command] { (Document().*command)(); }; };

    QAction* open = AddCommand(ID_FILE_OPEN, "&Open...\tCtrl+O");
    open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    open->setIcon(ToolIcon("open.png"));
    connect(open, &QAction::triggered, this, doc(&CDocument::OnFileOpen));

    QAction* save = AddCommand(ID_FILE_SAVE, "&Save\tCtrl+S");
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    save->setIcon(ToolIcon("save.png"));
    connect(save, &QAction::triggered, this, doc(&CDocument::OnFileSave));

    QAction* saveAs = AddCommand(ID_FILE_SAVE_AS, "Save &As...");
    connect(saveAs, &QAction::triggered, this, doc(&CDocument::OnFileSaveAs));

    QAction* exportAction = AddCommand(ID_FILE_EXPORT, "&Export...");
    exportAction->setEnabled(false);
    connect(exportAction, &QAction::triggered, this, doc(&CDocument::OnFileExport));

    QAction* print = AddCommand(ID_FILE_PRINT, "&Print...\tCtrl+P");
    print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    print->setIcon(ToolIcon("print.png"));
    // Printing is the application's: it connects these three.
    AddCommand(ID_FILE_PRINT_PREVIEW, "Print Pre&view");
    AddCommand(ID_FILE_PRINT_SETUP, "P&rint Setup...");

    QAction* exit = AddCommand(ID_APP_EXIT, "E&xit");
    connect(exit, &QAction::triggered, this, &QWidget::close);

    // The edit commands are the editor's own, with the classic keys beside
    // the usual ones.
    QAction* undo = AddCommand(ID_EDIT_UNDO, "&Undo\tCtrl+Z");
    undo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)});
    undo->setEnabled(false);
    connect(undo, &QAction::triggered, m_pView, &QPlainTextEdit::undo);
    connect(m_pView, &QPlainTextEdit::undoAvailable, undo, &QAction::setEnabled);

    QAction* cut = AddCommand(ID_EDIT_CUT, "Cu&t\tCtrl+X");
    cut->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_X), QKeySequence(Qt::SHIFT | Qt::Key_Delete)});
    cut->setIcon(ToolIcon("cut.png"));
    cut->setEnabled(false);
    connect(cut, &QAction::triggered, m_pView, &QPlainTextEdit::cut);
    connect(m_pView, &QPlainTextEdit::copyAvailable, cut, &QAction::setEnabled);

    QAction* copy = AddCommand(ID_EDIT_COPY, "&Copy\tCtrl+C");
    copy->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)});
    copy->setIcon(ToolIcon("copy.png"));
    copy->setEnabled(false);
    connect(copy, &QAction::triggered, m_pView, &QPlainTextEdit::copy);
    connect(m_pView, &QPlainTextEdit::copyAvailable, copy, &QAction::setEnabled);

    QAction* paste = AddCommand(ID_EDIT_PASTE, "&Paste\tCtrl+V");
    paste->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)});
    paste->setIcon(ToolIcon("paste.png"));
    connect(paste, &QAction::triggered, m_pView, &QPlainTextEdit::paste);
    // Offered only while the clipboard holds text, as it changes.
    const auto followClipboard = [paste] {
        const QMimeData* data = QApplication::clipboard()->mimeData();
        paste->setEnabled(data != nullptr && data->hasText());
    };
    connect(QApplication::clipboard(), &QClipboard::dataChanged, paste, followClipboard);
    followClipboard();

    QAction* toolbar = AddCommand(ID_VIEW_TOOLBAR, "&Toolbar");
    toolbar->setCheckable(true);
    toolbar->setChecked(true);
    QAction* statusBarAction = AddCommand(ID_VIEW_STATUS_BAR, "&Status Bar");
    statusBarAction->setCheckable(true);
    statusBarAction->setChecked(true);

    QAction* options = AddCommand(ID_VIEW_OPTIONS, "&Options...");
    options->setStatusTip({});
    options->setEnabled(false);
    connect(options, &QAction::triggered, this, doc(&CDocument::OnViewOptions));

    QAction* about = AddCommand(ID_APP_ABOUT, "&About Bankwise...");
    about->setIcon(ToolIcon("about.png"));

    // Keys without a menu item: they live on the window itself.
    QAction* fileNew = AddCommand(ID_FILE_NEW, "New");
    fileNew->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    connect(fileNew, &QAction::triggered, this, doc(&CDocument::OnFileNew));
    // One pane only: both keys bring the focus back to the text.
    QAction* nextPane = AddCommand(ID_NEXT_PANE, "Next Pane");
    nextPane->setShortcut(QKeySequence(Qt::Key_F6));
    QAction* prevPane = AddCommand(ID_PREV_PANE, "Previous Pane");
    prevPane->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6));
    for (QAction* pane : {nextPane, prevPane})
        connect(pane, &QAction::triggered, m_pView, [this] { m_pView->setFocus(); });
    addActions({fileNew, nextPane, prevPane});
}

void CMainFrame::createMenus()
{
    m_pFileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    m_pFileMenu->addAction(Action(ID_FILE_OPEN));
    m_pFileMenu->addAction(Action(ID_FILE_SAVE));
    m_pFileMenu->addAction(Action(ID_FILE_SAVE_AS));
    m_pFileMenu->addAction(Action(ID_FILE_EXPORT));
    m_pFileMenu->addSeparator();
    m_pFileMenu->addAction(Action(ID_FILE_PRINT));
    m_pFileMenu->addAction(Action(ID_FILE_PRINT_PREVIEW));
    m_pFileMenu->addAction(Action(ID_FILE_PRINT_SETUP));
    m_pFileMenu->addSeparator();
    m_pRecentPlaceholder = m_pFileMenu->addAction(QStringLiteral("Recent File"));
    m_pRecentPlaceholder->setEnabled(false);
    m_pRecentEnd = m_pFileMenu->addSeparator();
    m_pFileMenu->addAction(Action(ID_APP_EXIT));

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->addAction(Action(ID_EDIT_UNDO));
    edit->addSeparator();
    edit->addAction(Action(ID_EDIT_CUT));
    edit->addAction(Action(ID_EDIT_COPY));
    edit->addAction(Action(ID_EDIT_PASTE));

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->addAction(Action(ID_VIEW_TOOLBAR));
    view->addAction(Action(ID_VIEW_STATUS_BAR));
    view->addSeparator();
    view->addAction(Action(ID_VIEW_OPTIONS));

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(Action(ID_APP_ABOUT));
}

void CMainFrame::createToolBar()
{
    m_pToolBar = new QToolBar(QStringLiteral("Toolbar"), this);
    m_pToolBar->setObjectName(QStringLiteral("AFX_IDW_TOOLBAR"));
    m_pToolBar->setMovable(true);
    m_pToolBar->setFloatable(true);
    m_pToolBar->setAllowedAreas(Qt::AllToolBarAreas);
    m_pToolBar->setIconSize(QSize(16, 16));
    m_pToolBar->addAction(Action(ID_FILE_OPEN));
    m_pToolBar->addAction(Action(ID_FILE_SAVE));
    m_pToolBar->addSeparator();
    m_pToolBar->addAction(Action(ID_EDIT_CUT));
    m_pToolBar->addAction(Action(ID_EDIT_COPY));
    m_pToolBar->addAction(Action(ID_EDIT_PASTE));
    m_pToolBar->addSeparator();
    m_pToolBar->addAction(Action(ID_FILE_PRINT));
    m_pToolBar->addSeparator();
    m_pToolBar->addAction(Action(ID_APP_ABOUT));
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
    if (event->type() == QEvent::KeyRelease || event->type() == QEvent::ApplicationActivate) {
        const auto* key =
            event->type() == QEvent::KeyRelease ? static_cast<QKeyEvent*>(event) : nullptr;
        if (key == nullptr || key->key() == Qt::Key_CapsLock || key->key() == Qt::Key_NumLock ||
            key->key() == Qt::Key_ScrollLock)
            UpdateLockIndicators();
    }
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
    const IProfile& profile = m_profile;
    const QPoint centre(profile.GetProfileInt(kSettingsSection, kEntryWindowLeft, 0) +
                            profile.GetProfileInt(kSettingsSection, kEntryWindowWidth, 0) / 2,
                        profile.GetProfileInt(kSettingsSection, kEntryWindowTop, 0) +
                            profile.GetProfileInt(kSettingsSection, kEntryWindowHeight, 0) / 2);
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
        PlaceMainWindow(profile, {area.x(), area.y(), area.width(), area.height()}, lines);
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
