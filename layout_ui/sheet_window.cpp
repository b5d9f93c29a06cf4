#include "layout_ui/sheet_window.h"

#include "files/atomic_file.h"
#include "layout_cli/drawing.h"
#include "layout_cli/report.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

// After Qt, whose translation marker it then uses.
#include "layout/reasons.h"

#include <cerrno>
#include <cmath>
#include <exception>

namespace layout_ui {

namespace {

    /// Long enough that a study does not start at every key, short enough to feel live.
    constexpr int kPauseMs = 250;

    const char *const kOptionNames[kInputCount] = { "diameter", "tube", "pitch", "lane-spacing",
        "clearance", "centre-tube", "bend-radius", "tie-rods", "baffle-cut" };

    /// The patterns in the order of the choice, with their option values.
    const layout::Pattern kPatterns[] = { layout::Pattern::Triangular,
        layout::Pattern::RotatedTriangular, layout::Pattern::Square,
        layout::Pattern::RotatedSquare };
    const int kPasses[] = { 1, 2, 4, 6, 8 };
    const layout::Centring kCentrings[] = { layout::Centring::OnTube, layout::Centring::Straddle,
        layout::Centring::Best };

    /// A small sketch of a pattern's rows: seven tubes about one, turned as the pattern is.
    QIcon patternIcon(layout::Pattern pattern)
    {
        QPixmap pixmap(32, 32);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(0x2f, 0x3b, 0x47), 1.2));
        painter.setBrush(QColor(0xd6, 0xe4, 0xf0));
        const bool square =
            pattern == layout::Pattern::Square || pattern == layout::Pattern::RotatedSquare;
        const double turn = pattern == layout::Pattern::RotatedTriangular ? 90
            : pattern == layout::Pattern::RotatedSquare                   ? 45
                                                                          : 0;
        painter.translate(16, 16);
        painter.rotate(turn);
        const double p = 10;
        for (int row = -1; row <= 1; ++row) {
            for (int col = -2; col <= 2; ++col) {
                double x = col * p, y = row * p;
                if (!square) {
                    if ((col + row) % 2 != 0)
                        continue;
                    x = col * p / 2;
                    y = row * p * 0.866;
                }
                if (std::hypot(x, y) <= 12)
                    painter.drawEllipse(QPointF(x, y), 3.6, 3.6);
            }
        }
        return QIcon(pixmap);
    }

    QString text(const std::string &utf8)
    {
        return QString::fromStdString(utf8);
    }

    /// Why the window cannot take an input, in its own language: one line under the box.
    QString reasonText(const layout::InputError &error)
    {
        return QCoreApplication::translate("layout_ui::SheetWindow", layout::reasonOf(error));
    }

    /// The box a field is typed in. The choices have none: they cannot hold a wrong value.
    std::optional<Input> boxOf(layout::Field field)
    {
        switch (field) {
        case layout::Field::Diameter:
            return Input::Diameter;
        case layout::Field::Tube:
            return Input::Tube;
        case layout::Field::Pitch:
            return Input::Pitch;
        case layout::Field::LaneSpacing:
        case layout::Field::VerticalSpacing:
            return Input::LaneSpacing;
        case layout::Field::Clearance:
            return Input::Clearance;
        case layout::Field::CentreTube:
            return Input::CentreTube;
        case layout::Field::BendRadius:
            return Input::BendRadius;
        case layout::Field::TieRods:
            return Input::TieRods;
        case layout::Field::BaffleCut:
            return Input::BaffleCut;
        case layout::Field::None:
        case layout::Field::Pattern:
        case layout::Field::Passes:
        case layout::Field::Centring:
        case layout::Field::LaneModel:
        case layout::Field::Standard:
        case layout::Field::Bundle:
            break;
        }
        return std::nullopt;
    }

    /// A system's reason for a failed write, in the window's language.
    QString errorText(int error)
    {
        switch (error) {
        case ENOENT:
            return SheetWindow::tr("没有那个文件或目录");
        case EACCES:
            return SheetWindow::tr("权限不够");
        case EPERM:
            return SheetWindow::tr("不允许的操作");
        case ENOSPC:
            return SheetWindow::tr("设备上没有空间");
        case EDQUOT:
            return SheetWindow::tr("超出磁盘配额");
        case EFBIG:
            return SheetWindow::tr("文件过大");
        case EROFS:
            return SheetWindow::tr("只读文件系统");
        case EISDIR:
            return SheetWindow::tr("是一个目录");
        case ENOTDIR:
            return SheetWindow::tr("路径中有一部分不是目录");
        case ENAMETOOLONG:
            return SheetWindow::tr("文件名过长");
        case EIO:
            return SheetWindow::tr("输入/输出错误");
        case ELOOP:
            return SheetWindow::tr("符号链接层数过多");
        case EMFILE:
        case ENFILE:
            return SheetWindow::tr("打开的文件过多");
        case EBUSY:
        case ETXTBSY:
            return SheetWindow::tr("文件正忙");
        default:
            break;
        }
        return SheetWindow::tr("系统错误 %1").arg(error);
    }

    /// Why an export failed, in the window's language: the writers say it in English for the
    /// command line.
    QString failureText(const std::exception &failure)
    {
        if (const auto *write = dynamic_cast<const files::WriteError *>(&failure)) {
            const QString file = QFile::decodeName(QByteArray::fromStdString(write->path()));
            if (write->error() != 0)
                return SheetWindow::tr("无法写入 %1：%2").arg(file, errorText(write->error()));
            return SheetWindow::tr("无法写入 %1").arg(file);
        }
        if (dynamic_cast<const std::bad_alloc *>(&failure))
            return SheetWindow::tr("内存不足");
        return SheetWindow::tr("无法绘制图纸：绘图模块无法加载或内存不足");
    }

    QLineEdit *countBox(const QString &name, const QString &objectName)
    {
        auto *box = new QLineEdit;
        box->setObjectName(objectName);
        box->setReadOnly(true);
        box->setAccessibleName(name);
        box->setMinimumWidth(90);
        return box;
    }

} // namespace

SheetWindow::SheetWindow(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("SheetWindow"));
    setWindowTitle(tr("Korvane 管板布置"));

    // --- Inputs -------------------------------------------------------------------------
    auto *inputs = new QFormLayout;
    inputs->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    const auto addRow = [&](const QString &label, QWidget *field, QLabel *reason = nullptr) {
        auto *column = new QVBoxLayout;
        column->setSpacing(1);
        column->addWidget(field);
        if (reason)
            column->addWidget(reason);
        auto *name = new QLabel(label);
        name->setBuddy(field);
        inputs->addRow(name, column);
        field->setAccessibleName(QString(label).remove(QLatin1Char('&')));
    };
    const auto reasonFor = [](const QString &objectName) {
        auto *reason = new QLabel;
        reason->setObjectName(objectName + QStringLiteral("Reason"));
        reason->setStyleSheet(QStringLiteral("color: #b03030"));
        reason->setWordWrap(true);
        reason->hide();
        return reason;
    };
    const QString labels[kInputCount] = { tr("直径(&D)"), tr("管子外径 d(&T)"), tr("管心距 p(&P)"),
        tr("隔板槽中心距 Sn(&S)"), tr("边缘间隙 b(&B)"), tr("中心管外径 d0(&C)"),
        tr("弯管半径 R(&R)"), tr("拉杆(&Z)"), tr("折流板缺口 %(&K)") };
    const QString objectNames[kInputCount] = { QStringLiteral("diameter"), QStringLiteral("tube"),
        QStringLiteral("pitch"), QStringLiteral("laneSpacing"), QStringLiteral("clearance"),
        QStringLiteral("centreTube"), QStringLiteral("bendRadius"), QStringLiteral("tieRods"),
        QStringLiteral("baffleCut") };
    for (std::size_t i = 0; i < kInputCount; ++i) {
        m_boxes[i] = new QLineEdit;
        m_boxes[i]->setObjectName(objectNames[i]);
        m_reasons[i] = reasonFor(objectNames[i]);
        connect(m_boxes[i], &QLineEdit::textChanged, this, &SheetWindow::inputsChanged);
    }
    box(Input::CentreTube)->setPlaceholderText(tr("无"));
    box(Input::TieRods)->setPlaceholderText(tr("无（根数、gb151 或 tema）"));
    box(Input::BaffleCut)->setPlaceholderText(tr("无（如 25，或 20,25,30）"));
    box(Input::TieRods)->setToolTip(tr("拉杆根数，或 gb151、tema：按标准的表取根数和直径"));
    // Wide enough for the defaults Sn shows when empty, such as these.
    box(Input::LaneSpacing)
        ->setMinimumWidth(box(Input::LaneSpacing)
                              ->fontMetrics()
                              .horizontalAdvance(
                                  tr("默认 %1 mm").arg(QStringLiteral("√3·p = 55.425625, 2p = 64")))
            + 16);

    m_given = new QComboBox;
    m_given->setObjectName(QStringLiteral("given"));
    m_given->addItems({ tr("壳体内径 Di"), tr("布管限定圆 DL") });
    m_pattern = new QComboBox;
    m_pattern->setObjectName(QStringLiteral("pattern"));
    m_pattern->setIconSize(QSize(32, 32));
    const QString patternNames[] = { tr("30° 正三角形"), tr("60° 转角正三角形"), tr("90° 正方形"),
        tr("45° 转角正方形") };
    for (std::size_t i = 0; i < std::size(kPatterns); ++i)
        m_pattern->addItem(patternIcon(kPatterns[i]), patternNames[i]);
    m_passes = new QComboBox;
    m_passes->setObjectName(QStringLiteral("passes"));
    for (int passes : kPasses)
        m_passes->addItem(QString::number(passes));
    m_passesReason = reasonFor(QStringLiteral("passes"));
    m_centring = new QComboBox;
    m_centring->setObjectName(QStringLiteral("centring"));
    m_centring->addItems({ tr("对中"), tr("跨中"), tr("最佳") });
    m_centringReason = reasonFor(QStringLiteral("centring"));
    m_laneModel = new QComboBox;
    m_laneModel->setObjectName(QStringLiteral("laneModel"));
    m_laneModel->addItems({ tr("去管"), tr("移位") });
    m_laneModel->setToolTip(tr("去管：隔板槽从连续的排列中去掉管子；移位：排列沿槽分开，"
                               "槽两侧管排的中心距为 Sn（GB/T 151）"));
    m_gb151 = new QCheckBox(tr("按 GB/T 151 取值(&Q)"));
    m_gb151->setObjectName(QStringLiteral("gb151"));
    m_gb151->setAccessibleName(m_gb151->text().remove(QLatin1Char('&')));
    m_gb151->setToolTip(tr("未填的管心距、Sn 和拉杆按 GB/T 151 取值，隔板槽移位"));
    m_gb151Reason = reasonFor(QStringLiteral("gb151"));
    m_bundle = new QComboBox;
    m_bundle->setObjectName(QStringLiteral("bundle"));
    m_bundle->addItems({ tr("固定管板"), tr("U形管") });
    for (QComboBox *choice : { m_given, m_pattern, m_passes, m_centring, m_laneModel, m_bundle })
        connect(choice, &QComboBox::currentIndexChanged, this, &SheetWindow::inputsChanged);
    // The standard's lanes are shifted: ticking it says so in the choice too.
    connect(m_gb151, &QCheckBox::toggled, this, [this](bool on) {
        if (on && !m_loading)
            m_laneModel->setCurrentIndex(1);
        inputsChanged();
    });

    addRow(tr("给定(&G)"), m_given);
    addRow(labels[0], box(Input::Diameter), reasonLabel(Input::Diameter));
    addRow(labels[1], box(Input::Tube), reasonLabel(Input::Tube));
    addRow(labels[2], box(Input::Pitch), reasonLabel(Input::Pitch));
    addRow(tr("布管方式(&A)"), m_pattern);
    addRow(tr("管程数(&N)"), m_passes, m_passesReason);
    addRow(tr("中心布置(&E)"), m_centring, m_centringReason);
    addRow(tr("隔板槽(&W)"), m_laneModel);
    addRow(labels[3], box(Input::LaneSpacing), reasonLabel(Input::LaneSpacing));
    addRow(labels[4], box(Input::Clearance), reasonLabel(Input::Clearance));
    addRow(labels[5], box(Input::CentreTube), reasonLabel(Input::CentreTube));
    addRow(tr("管束(&U)"), m_bundle);
    addRow(labels[6], box(Input::BendRadius), reasonLabel(Input::BendRadius));
    addRow(labels[7], box(Input::TieRods), reasonLabel(Input::TieRods));
    addRow(labels[8], box(Input::BaffleCut), reasonLabel(Input::BaffleCut));
    {
        auto *column = new QVBoxLayout;
        column->setSpacing(1);
        column->addWidget(m_gb151);
        column->addWidget(m_gb151Reason);
        inputs->addRow(column);
    }

    m_numbers = new QCheckBox(tr("导出时标注管号(&M)"));
    m_numbers->setObjectName(QStringLiteral("numbers"));
    auto *fitButton = new QPushButton(tr("适合窗口(&F)"));
    fitButton->setObjectName(QStringLiteral("fit"));
    m_exportDrawing = new QPushButton(tr("导出图纸(&X)…"));
    m_exportDrawing->setObjectName(QStringLiteral("exportDrawing"));
    m_exportHoles = new QPushButton(tr("导出管孔表(&H)…"));
    m_exportHoles->setObjectName(QStringLiteral("exportHoles"));
    for (QPushButton *button : { fitButton, m_exportDrawing, m_exportHoles })
        button->setAccessibleName(button->text().remove(QLatin1Char('&')));
    m_numbers->setAccessibleName(m_numbers->text().remove(QLatin1Char('&')));

    auto *left = new QVBoxLayout;
    left->addLayout(inputs);
    left->addWidget(m_numbers);
    left->addWidget(m_exportDrawing);
    left->addWidget(m_exportHoles);
    left->addStretch();

    // --- The sheet and its counts --------------------------------------------------------
    m_view = new SheetView;
    m_view->setAccessibleName(tr("管板图"));
    m_inCircle = countBox(tr("布管限定圆内管数"), QStringLiteral("inCircle"));
    m_laneRemoved = countBox(tr("隔板槽去掉"), QStringLiteral("laneRemoved"));
    m_centreRemoved = countBox(tr("中心管去掉"), QStringLiteral("centreRemoved"));
    m_total = countBox(tr("总管数"), QStringLiteral("total"));
    m_perPass = countBox(tr("各管程管数"), QStringLiteral("perPass"));
    m_arrangement = new QLabel;
    m_arrangement->setObjectName(QStringLiteral("arrangement"));
    m_baffles = new QLabel;
    m_baffles->setObjectName(QStringLiteral("baffles"));
    m_baffles->setTextFormat(Qt::RichText);
    m_baffles->setWordWrap(true);
    m_baffles->setAccessibleName(tr("折流板缺口"));
    m_baffles->hide();
    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setWordWrap(true);

    auto *counts = new QGridLayout;
    // The total has a key of its own (Alt+L), as the figure most often wanted.
    const std::pair<QString, QLineEdit *> countRows[] = { { tr("布管限定圆内管数"), m_inCircle },
        { tr("隔板槽去掉"), m_laneRemoved }, { tr("中心管去掉"), m_centreRemoved },
        { tr("总管数(&L)"), m_total } };
    for (int i = 0; i < 4; ++i) {
        auto *label = new QLabel(countRows[i].first);
        label->setBuddy(countRows[i].second);
        counts->addWidget(label, 0, 2 * i);
        counts->addWidget(countRows[i].second, 0, 2 * i + 1);
    }
    auto *perPassLabel = new QLabel(tr("各管程管数"));
    perPassLabel->setBuddy(m_perPass);
    counts->addWidget(perPassLabel, 1, 0);
    counts->addWidget(m_perPass, 1, 1, 1, 7);
    counts->addWidget(m_arrangement, 2, 0, 1, 8);
    counts->addWidget(m_baffles, 3, 0, 1, 8);

    auto *tools = new QHBoxLayout;
    tools->addWidget(fitButton);
    tools->addWidget(m_status, 1);
    m_legend = new LegendView;
    auto *right = new QVBoxLayout;
    right->addLayout(tools);
    right->addWidget(m_view, 1);
    right->addWidget(m_legend);
    right->addLayout(counts);

    auto *whole = new QHBoxLayout(this);
    whole->addLayout(left);
    whole->addLayout(right, 1);

    // The keyboard goes down the inputs, then to the sheet and what acts on it.
    QWidget *order[] = { m_given, box(Input::Diameter), box(Input::Tube), box(Input::Pitch),
        m_pattern, m_passes, m_centring, m_laneModel, box(Input::LaneSpacing),
        box(Input::Clearance), box(Input::CentreTube), m_bundle, box(Input::BendRadius),
        box(Input::TieRods), box(Input::BaffleCut), m_gb151, m_numbers, m_exportDrawing,
        m_exportHoles, fitButton, m_view, m_inCircle, m_laneRemoved, m_centreRemoved, m_total,
        m_perPass };
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);

    connect(fitButton, &QPushButton::clicked, m_view, &SheetView::fit);
    connect(m_exportDrawing, &QPushButton::clicked, this, &SheetWindow::chooseDrawingFile);
    connect(m_exportHoles, &QPushButton::clicked, this, &SheetWindow::chooseHolesFile);
    m_pause.setSingleShot(true);
    m_pause.setInterval(kPauseMs);
    connect(&m_pause, &QTimer::timeout, this, &SheetWindow::startStudy);
    connect(&m_watcher, &QFutureWatcher<std::shared_ptr<Study>>::finished, this,
        &SheetWindow::studyFinished);

    resize(1100, 720);
    // A designer starts with the diameter.
    box(Input::Diameter)->setFocus();
    inputsChanged();
    m_loading = false;
}

SheetWindow::~SheetWindow()
{
    // A study still counting holds nothing of the window's, but must end before it goes.
    m_watcher.waitForFinished();
}

bool SheetWindow::isBusy() const
{
    return m_pause.isActive() || m_counting;
}

QString SheetWindow::setOption(const QString &name, const QString &value)
{
    const auto choose = [&](QComboBox *choice, const QStringList &values) -> QString {
        const auto index = values.indexOf(value);
        if (index < 0)
            return tr("--%1 须为 %2 之一，而不是 '%3'")
                .arg(name, values.join(QStringLiteral("、")), value);
        choice->setCurrentIndex(static_cast<int>(index));
        return {};
    };
    if (name == QLatin1String("shell") || name == QLatin1String("otl")) {
        m_given->setCurrentIndex(name == QLatin1String("shell") ? 0 : 1);
        box(Input::Diameter)->setText(value);
        return {};
    }
    if (name == QLatin1String("pattern"))
        return choose(m_pattern,
            { QStringLiteral("30"), QStringLiteral("60"), QStringLiteral("90"),
                QStringLiteral("45") });
    if (name == QLatin1String("passes"))
        return choose(m_passes,
            { QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("4"), QStringLiteral("6"),
                QStringLiteral("8") });
    if (name == QLatin1String("centre"))
        return choose(m_centring,
            { QStringLiteral("on-tube"), QStringLiteral("straddle"), QStringLiteral("best") });
    if (name == QLatin1String("lanes"))
        return choose(m_laneModel, { QStringLiteral("remove"), QStringLiteral("shift") });
    if (name == QLatin1String("bundle"))
        return choose(m_bundle, { QStringLiteral("fixed"), QStringLiteral("u-tube") });
    if (name == QLatin1String("gb151")) {
        m_gb151->setChecked(value.isEmpty() || value == QLatin1String("1"));
        return {};
    }
    for (std::size_t i = 1; i < kInputCount; ++i) {
        if (name == QLatin1String(kOptionNames[i])) {
            m_boxes[i]->setText(value);
            return {};
        }
    }
    return tr("korvane-sheet 不认识选项 --%1").arg(name);
}

void SheetWindow::applyOptions(const std::vector<layout::TypedOption> &options)
{
    m_loading = true;
    // What the command line does not give takes korvane-layout's default, not what was kept;
    // the choices as read, so that full-width ones count too.
    const layout::Inputs read = layout::readLayout(options).inputs;
    const auto indexOf = [](const auto &choices, auto wanted) {
        return static_cast<int>(
            std::find(std::begin(choices), std::end(choices), wanted) - std::begin(choices));
    };
    m_pattern->setCurrentIndex(indexOf(kPatterns, read.pattern));
    m_passes->setCurrentIndex(indexOf(kPasses, read.passes));
    m_centring->setCurrentIndex(indexOf(kCentrings, read.centring));
    m_laneModel->setCurrentIndex(read.lanes == layout::LaneModel::Shift ? 1 : 0);
    m_bundle->setCurrentIndex(read.bundle == layout::Bundle::UTube ? 1 : 0);
    m_gb151->setChecked(read.gb151);
    for (QLineEdit *input : m_boxes)
        input->clear();
    for (const layout::TypedOption &option : options)
        if (option.name != "pattern" && option.name != "passes" && option.name != "centre"
            && option.name != "lanes" && option.name != "bundle" && option.name != "gb151")
            setOption(QString::fromStdString(option.name), QString::fromStdString(option.value));
    m_loading = false;
    inputsChanged();
}

std::optional<layout::Inputs> SheetWindow::readInputs()
{
    // The boxes as korvane-layout's options, read by the same function: an empty box is an
    // option not given.
    const bool shell = m_given->currentIndex() == 0;
    std::vector<layout::TypedOption> typed;
    const auto add = [&](const char *name, Input input) {
        const QString text = box(input)->text();
        if (!text.trimmed().isEmpty())
            typed.push_back({ name, text.toStdString() });
    };
    add(shell ? "shell" : "otl", Input::Diameter);
    add("tube", Input::Tube);
    add("pitch", Input::Pitch);
    typed.push_back(
        { "pattern", layout::patternName(kPatterns[std::max(0, m_pattern->currentIndex())]) });
    typed.push_back({ "passes", std::to_string(kPasses[std::max(0, m_passes->currentIndex())]) });
    typed.push_back(
        { "centre", layout::centringName(kCentrings[std::max(0, m_centring->currentIndex())]) });
    add("lane-spacing", Input::LaneSpacing);
    // With the layout circle given, the clearance is already allowed for: its box rests.
    box(Input::Clearance)->setEnabled(shell);
    if (shell)
        add("clearance", Input::Clearance);
    add("centre-tube", Input::CentreTube);
    const bool shifted = m_laneModel->currentIndex() == 1, uTube = m_bundle->currentIndex() == 1;
    typed.push_back({ "lanes", shifted ? "shift" : "remove" });
    typed.push_back({ "bundle", uTube ? "u-tube" : "fixed" });
    // The bend radius belongs to U-tubes only: its box rests otherwise.
    box(Input::BendRadius)->setEnabled(uTube);
    if (uTube)
        add("bend-radius", Input::BendRadius);
    add("tie-rods", Input::TieRods);
    add("baffle-cut", Input::BaffleCut);
    if (m_gb151->isChecked())
        typed.push_back({ "gb151", "" });
    const layout::Reading reading = layout::readLayout(typed);

    // Every box that cannot be taken is marked at once, each with its own reason.
    std::array<QString, kInputCount> reasons;
    QString passesReason, centringReason, gb151Reason;
    for (const layout::InputError &problem : reading.problems) {
        if (problem.field() == layout::Field::Passes)
            passesReason = reasonText(problem);
        else if (problem.field() == layout::Field::Centring)
            centringReason = reasonText(problem);
        else if (problem.field() == layout::Field::Standard)
            gb151Reason = reasonText(problem);
        else if (const std::optional<Input> input = boxOf(problem.field())) {
            // H and V share a box: the first reason stands.
            if (QString &reason = reasons[static_cast<std::size_t>(*input)]; reason.isEmpty())
                reason = reasonText(problem);
        }
    }
    const bool readable = reading.ok();

    for (std::size_t i = 0; i < kInputCount; ++i)
        markBox(static_cast<Input>(i), reasons[i]);
    for (const auto &[label, reason] : { std::pair { m_passesReason, passesReason },
             { m_centringReason, centringReason }, { m_gb151Reason, gb151Reason } }) {
        label->setText(reason);
        label->setVisible(!reason.isEmpty());
    }
    if (!readable)
        return std::nullopt;
    return reading.inputs;
}

void SheetWindow::markBox(Input input, const QString &reason)
{
    QLineEdit *edit = box(input);
    edit->setProperty("invalid", !reason.isEmpty());
    edit->setStyleSheet(
        reason.isEmpty() ? QString() : QStringLiteral("QLineEdit { border: 2px solid #c03030; }"));
    edit->setAccessibleDescription(reason);
    reasonLabel(input)->setText(reason);
    reasonLabel(input)->setVisible(!reason.isEmpty());
}

void SheetWindow::setCountsStale(bool stale)
{
    // Grey, as the drawing is, and said to a screen reader too.
    const QString look = stale ? QStringLiteral("color: #9a9a9a;") : QString();
    const QString note = stale ? tr("输入有误：为上次有效布置的数值") : QString();
    for (QLineEdit *count : { m_inCircle, m_laneRemoved, m_centreRemoved, m_total, m_perPass }) {
        count->setProperty("stale", stale);
        count->setStyleSheet(stale ? QStringLiteral("QLineEdit { %1 }").arg(look) : QString());
        count->setAccessibleDescription(note);
    }
    for (QLabel *line : { m_arrangement, m_baffles }) {
        line->setProperty("stale", stale);
        line->setStyleSheet(look);
    }
    m_legend->setStale(stale);
}

void SheetWindow::inputsChanged()
{
    if (!m_loading)
        saveSettings();
    m_wanted = readInputs();
    if (!m_wanted) {
        m_pause.stop();
        m_view->setStale(true);
        setCountsStale(true);
        m_exportDrawing->setEnabled(false);
        m_exportHoles->setEnabled(false);
        m_status->setText(m_shown ? tr("输入有误：图为上次有效的布置") : QString());
        emit settled();
        return;
    }
    m_pause.start();
}

void SheetWindow::startStudy()
{
    if (!m_wanted)
        return;
    if (m_watcher.isRunning()) {
        m_again = true;
        return;
    }
    m_again = false;
    m_counting = true;
    m_status->setText(tr("计算中…"));
    const layout::Inputs inputs = *m_wanted;
    m_watcher.setFuture(QtConcurrent::run([inputs]() -> std::shared_ptr<Study> {
        auto study = std::make_shared<Study>();
        try {
            study->layout = layout::study(inputs);
            if (const auto missed = layout::missedCut(study->layout))
                throw *missed;
        } catch (const layout::InputError &error) {
            // Said in the window, not thrown across threads.
            study->refused = error;
            return study;
        }
        if (study->layout.counts.inCircle <= static_cast<std::int64_t>(sheet::kMaxDrawnTubes))
            study->sheet = std::make_shared<const Sheet>(study->layout);
        return study;
    }));
}

void SheetWindow::studyFinished()
{
    std::shared_ptr<Study> study;
    QString failure;
    std::optional<layout::InputError> refused;
    try {
        study = m_watcher.result();
    } catch (const std::exception &error) {
        failure = tr("无法计算：%1").arg(failureText(error));
    }
    if (study && study->refused) {
        // Found only by laying the tubes out, such as more tie rods than the edge takes: the
        // box is marked as the checks mark theirs.
        refused = study->refused;
        failure = reasonText(*refused);
        study.reset();
    }
    m_counting = false;
    if (m_again) {
        startStudy();
        return;
    }
    if (!study) {
        m_status->setText(failure);
        if (refused)
            if (const std::optional<Input> input = boxOf(refused->field()))
                markBox(*input, failure);
        m_view->setStale(true);
        setCountsStale(true);
        m_exportDrawing->setEnabled(false);
        m_exportHoles->setEnabled(false);
        emit settled();
        return;
    }
    showCounts(*study);
    setCountsStale(!m_wanted);
    if (study->sheet) {
        m_shown = study;
        m_view->setSheet(study->sheet);
        QStringList legend;
        for (int i = 0; i < study->layout.counts.passes; ++i)
            legend << tr("第 %1 管程 %2 管")
                          .arg(i + 1)
                          .arg(study->layout.counts.perPass[static_cast<std::size_t>(i)]);
        if (study->layout.tieRods.count > 0)
            legend << tr("拉杆 %1 根").arg(study->layout.tieRods.count);
        if (study->layout.inputs.bundle == layout::Bundle::UTube)
            legend << tr("U形管 %1 根，R = %2 mm")
                          .arg(study->layout.uTubes)
                          .arg(
                              text(layout::lengthText(layout::bendRadiusOf(study->layout.inputs))));
        m_legend->setEntries(study->sheet, legend);
        m_status->clear();
    } else {
        m_view->setStale(true);
        m_status->setText(tr("布管限定圆内 %1 管，超过 %2 管，不再绘图")
                              .arg(study->layout.counts.inCircle)
                              .arg(sheet::kMaxDrawnTubes));
    }
    // Whatever the boxes now say decides whether the drawing stands for them.
    if (!m_wanted)
        m_view->setStale(true);
    m_exportDrawing->setEnabled(study->sheet && m_wanted);
    m_exportHoles->setEnabled(study->sheet && m_wanted);
    emit settled();
}

void SheetWindow::showCounts(const Study &study)
{
    const layout::Counts &counts = study.layout.counts;
    m_inCircle->setText(QString::number(counts.inCircle));
    m_laneRemoved->setText(QString::number(counts.laneRemoved));
    m_centreRemoved->setText(QString::number(counts.centreRemoved));
    m_total->setText(QString::number(counts.total));
    QStringList perPass;
    for (int i = 0; i < counts.passes; ++i)
        perPass << QString::number(counts.perPass[static_cast<std::size_t>(i)]);
    m_perPass->setText(perPass.join(QStringLiteral(" / ")));

    // The default spacings, horizontal then vertical as the box takes them, each as the rule
    // writes it and rounded down to what can be typed: typed back, they lay the same tubes.
    QStringList spacings;
    for (const std::string &shown : layout_cli::laneDefaults(study.layout))
        spacings << text(shown);
    // Under shifted lanes the default is GB/T 151's, one value for every lane.
    if (study.layout.standardSpacing)
        spacings << tr("GB/T 151 %1").arg(text(layout::lengthText(*study.layout.standardSpacing)));
    const QString defaults = study.layout.laneCount == 0 ? tr("单管程无隔板槽")
        : spacings.isEmpty()                             ? QString()
                             : tr("默认 %1 mm").arg(spacings.join(QStringLiteral(", ")));
    box(Input::LaneSpacing)->setPlaceholderText(defaults);
    box(Input::LaneSpacing)->setToolTip(defaults);
    const bool standardPitch = std::count(study.layout.fromStandard.begin(),
                                   study.layout.fromStandard.end(), layout::Field::Pitch)
        > 0;
    box(Input::Pitch)
        ->setPlaceholderText(standardPitch
                ? tr("GB/T 151 %1 mm").arg(text(layout::lengthText(study.layout.inputs.pitch)))
                : QString());
    if (study.layout.inputs.given == layout::Given::Shell)
        box(Input::Clearance)
            ->setPlaceholderText(
                tr("默认 %1 mm").arg(text(layout::lengthText(study.layout.clearance))));
    else
        box(Input::Clearance)->setPlaceholderText(tr("给定布管限定圆时不用"));

    QString arrangement =
        tr("布管限定圆 DL %1 mm，%2")
            .arg(text(layout::lengthText(study.layout.layoutCircle)),
                study.layout.centring == layout::Centring::OnTube ? tr("对中") : tr("跨中"));
    if (study.layout.otherTotal)
        arrangement += tr("（另一种布置 %1 管）").arg(*study.layout.otherTotal);
    const layout::TieRodCount &rods = study.layout.tieRods;
    if (rods.count > 0)
        arrangement += rods.diameter ? tr("，拉杆 %1 根，直径 %2 mm")
                                           .arg(rods.count)
                                           .arg(text(layout::lengthText(*rods.diameter)))
                                     : tr("，拉杆 %1 根").arg(rods.count);
    if (study.layout.inputs.bundle == layout::Bundle::UTube)
        arrangement += tr("，U形管 %1 根").arg(study.layout.uTubes);
    if (!study.layout.fromStandard.empty())
        arrangement += tr("，按 GB/T 151 取值");
    m_arrangement->setText(arrangement);

    // Each cut's exact figures, the uniform-density formulas' beside them in grey.
    QStringList baffles;
    const auto grey = [](const std::optional<double> &value, int digits) {
        return QStringLiteral(" <span style=\"color:#8a8a8a\">(%1)</span>")
            .arg(value ? QString::number(*value, 'f', digits) : QStringLiteral("—"));
    };
    for (const layout::Baffle &b : study.layout.baffles)
        baffles << tr("折流板缺口 %1%：缺口内管数 %2，切边管 %3；错流管数比 Fc %4%5；错流管排数 Nc "
                      "%6%7；缺口内有效管排数 Ncw %8%9")
                       .arg(text(layout::lengthText(b.cut)))
                       .arg(b.windowTubes)
                       .arg(b.edgeTubes)
                       .arg(QString::number(b.fc, 'f', 4), grey(b.formula.fc, 4))
                       .arg(b.nc)
                       .arg(grey(b.formula.nc, 2), QString::number(b.ncw, 'f', 1),
                           grey(b.formula.ncw, 2));
    m_baffles->setText(baffles.join(QStringLiteral("<br>")));
    m_baffles->setVisible(!baffles.isEmpty());
    m_baffles->setToolTip(tr("括号内灰色数值为均布公式的估算"));
}

QString SheetWindow::exportDrawing(const QString &file)
{
    if (!m_shown || m_view->isStale())
        return tr("没有可导出的图纸");
    const std::string name = QFile::encodeName(file).toStdString();
    const std::optional<sheet::Format> format = sheet::formatOf(name);
    if (!format)
        return tr("文件名须以 .svg、.png、.pdf 或 .dxf 结尾");
    try {
        const std::string bytes = sheet::render(
            layout_cli::layoutScene(m_shown->layout, m_numbers->isChecked()), *format);
        files::AtomicFile target(name);
        target.write(bytes);
        target.commit();
    } catch (const std::exception &error) {
        return failureText(error);
    }
    return {};
}

QString SheetWindow::exportHoles(const QString &file)
{
    if (!m_shown || m_view->isStale())
        return tr("没有可导出的管孔表");
    try {
        files::AtomicFile target(QFile::encodeName(file).toStdString());
        const bool kinds = m_shown->layout.tieRods.count > 0;
        target.write(layout_cli::tubesHeader(kinds));
        std::int64_t n = 0;
        for (const layout::Tube &tube : m_shown->sheet->tubes)
            if (tube.pass > 0)
                target.write(layout_cli::tubeRow(++n, tube, kinds));
        target.commit();
    } catch (const std::exception &error) {
        return failureText(error);
    }
    return {};
}

QString SheetWindow::withExtension(const QString &file, const QString &extension)
{
    const bool drawing = sheet::formatOf(QFile::encodeName(file).toStdString()).has_value();
    const bool wanted = file.endsWith(extension, Qt::CaseInsensitive);
    // A name with a drawing type of its own keeps it: the name says what the user means.
    if (wanted || (drawing && extension != QLatin1String(".csv")))
        return file;
    return file + extension;
}

namespace {

    /// Asks for a file to write, in a dialog whose file types each name their extension; the
    /// name comes back with the chosen type's extension, and empty when cancelled. A file the
    /// extension turns the name into is only replaced once the user says so: the dialog asked
    /// about the name as typed.
    QString askForFile(QWidget *parent, const QString &title, const QStringList &types)
    {
        QFileDialog dialog(parent, title);
        dialog.setObjectName(QStringLiteral("exportDialog"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilters(types);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        const QString type = dialog.selectedNameFilter();
        const auto star = type.indexOf(QStringLiteral("*."));
        const QString chosen = dialog.selectedFiles().front();
        QString file =
            star < 0 ? chosen : SheetWindow::withExtension(chosen, type.mid(star + 1).chopped(1));
        if (file != chosen && QFileInfo::exists(file)
            && QMessageBox::question(
                   parent, title, SheetWindow::tr("%1 已存在。要替换它吗？").arg(file))
                != QMessageBox::Yes)
            return {};
        return file;
    }

} // namespace

void SheetWindow::chooseDrawingFile()
{
    const QString file = askForFile(this, tr("导出图纸"),
        { tr("SVG 图 (*.svg)"), tr("PNG 图 (*.png)"), tr("PDF 文件 (*.pdf)"),
            tr("DXF 图 (*.dxf)") });
    if (file.isEmpty())
        return;
    const QString failure = exportDrawing(file);
    m_status->setText(failure.isEmpty() ? tr("已写入 %1").arg(file) : failure);
}

void SheetWindow::chooseHolesFile()
{
    const QString file = askForFile(this, tr("导出管孔表"), { tr("CSV 表 (*.csv)") });
    if (file.isEmpty())
        return;
    const QString failure = exportHoles(file);
    m_status->setText(failure.isEmpty() ? tr("已写入 %1").arg(file) : failure);
}

void SheetWindow::saveSettings() const
{
    QSettings settings;
    settings.setValue(QStringLiteral("given"), m_given->currentIndex());
    settings.setValue(QStringLiteral("pattern"), m_pattern->currentIndex());
    settings.setValue(QStringLiteral("passes"), m_passes->currentIndex());
    settings.setValue(QStringLiteral("centring"), m_centring->currentIndex());
    settings.setValue(QStringLiteral("lanes"), m_laneModel->currentIndex());
    settings.setValue(QStringLiteral("bundle"), m_bundle->currentIndex());
    settings.setValue(QStringLiteral("gb151"), m_gb151->isChecked());
    settings.setValue(QStringLiteral("numbers"), m_numbers->isChecked());
    for (std::size_t i = 0; i < kInputCount; ++i)
        settings.setValue(QString::fromLatin1(kOptionNames[i]), m_boxes[i]->text());
    settings.setValue(QStringLiteral("geometry"), saveGeometry());
}

void SheetWindow::loadSettings()
{
    QSettings settings;
    m_loading = true;
    const auto index = [&](QComboBox *choice, const char *key) {
        const int i = settings.value(QLatin1String(key), 0).toInt();
        choice->setCurrentIndex(i >= 0 && i < choice->count() ? i : 0);
    };
    index(m_given, "given");
    index(m_pattern, "pattern");
    index(m_passes, "passes");
    index(m_centring, "centring");
    index(m_laneModel, "lanes");
    index(m_bundle, "bundle");
    m_gb151->setChecked(settings.value(QStringLiteral("gb151"), false).toBool());
    m_numbers->setChecked(settings.value(QStringLiteral("numbers"), false).toBool());
    // A first run starts from a sheet a designer knows, so the window never opens empty.
    const QString firstRun[kInputCount] = { QStringLiteral("600"), QStringLiteral("25"),
        QStringLiteral("32"), QString(), QString(), QString(), QString(), QString(), QString() };
    for (std::size_t i = 0; i < kInputCount; ++i)
        m_boxes[i]->setText(
            settings.value(QString::fromLatin1(kOptionNames[i]), firstRun[i]).toString());
    const QByteArray geometry = settings.value(QStringLiteral("geometry")).toByteArray();
    if (!geometry.isEmpty())
        restoreGeometry(geometry);
    m_loading = false;
    inputsChanged();
}

void SheetWindow::closeEvent(QCloseEvent *event)
{
    saveSettings();
    event->accept();
}

} // namespace layout_ui
