#include "app/param_panel_layout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>
#include <initializer_list>

#include "app/core_text.h"
#include "app/emitter_list_widget.h"
#include "app/value_label.h"
#include "editor/command_ids.h"

namespace orv {

namespace {

constexpr int kSliderHeight = 16;

// The panel's own texts, marked where they stand with QT_TRANSLATE_NOOP in this context.
QString Tr(const char* text) {
    return QCoreApplication::translate("orv::ParamPanel", text);
}

QString Id(int id) {
    return QString::number(id);
}

// A label over its slider, the label showing the row's formatted default.
QWidget* MakeRow(QWidget& owner, ParamPanelControls& controls, std::size_t row) {
    const ParamDescriptor& param = Param(row);
    auto* block = new QWidget(&owner);
    auto* layout = new QVBoxLayout(block);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* label = new ValueLabel(block);
    label->setObjectName(Id(param.labelId));
    label->setText(ParamLabelText(row, param.DefaultRaw()));
    label->setCursor(Qt::PointingHandCursor);
    label->setToolTip(ParamNameText(row));

    auto* slider = new QSlider(Qt::Horizontal, block);
    slider->setObjectName(Id(param.sliderId));
    slider->setRange(param.sliderMin, param.sliderMax);
    slider->setSingleStep(1);
    slider->setPageStep(std::max(1, (param.sliderMax - param.sliderMin) / 10));
    slider->setValue(param.defaultPosition);
    slider->setFixedHeight(kSliderHeight);
    slider->setAccessibleName(ParamNameText(row));

    layout->addWidget(label);
    layout->addWidget(slider);
    controls.rows[row] = {label, slider};
    return block;
}

QVBoxLayout* Column(QBoxLayout* parent) {
    auto* column = new QVBoxLayout;
    column->setSpacing(1);
    parent->addLayout(column, 1);
    return column;
}

void AddRows(QWidget& owner, ParamPanelControls& controls, QBoxLayout* column,
             std::initializer_list<std::pair<std::size_t, std::size_t>> ranges) {
    for (const auto& [first, last] : ranges) {
        for (std::size_t row = first; row <= last; ++row) column->addWidget(MakeRow(owner, controls, row));
    }
}

QGroupBox* Group(QWidget& owner, const QString& caption) {
    auto* group = new QGroupBox(caption, &owner);
    return group;
}

void Compact(QBoxLayout* layout) {
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setSpacing(1);
}

QComboBox* Combo(QWidget& owner, int id, std::initializer_list<const char*> items) {
    auto* combo = new QComboBox(&owner);
    combo->setObjectName(Id(id));
    for (const char* item : items) combo->addItem(Tr(item));
    combo->setCurrentIndex(0);
    return combo;
}

QCheckBox* Check(QWidget& owner, int id, const char* text, bool checked) {
    auto* check = new QCheckBox(Tr(text), &owner);
    check->setObjectName(Id(id));
    check->setChecked(checked);
    return check;
}

QPushButton* Button(QWidget& owner, int id, const char* text) {
    auto* button = new QPushButton(Tr(text), &owner);
    button->setObjectName(Id(id));
    button->setAutoDefault(false);
    return button;
}

// Emission, size, rotation and oscillation rows in two columns, with the sort choice and the
// orientation flag under the second.
QGroupBox* ParticleGroup(QWidget& panel, ParamPanelControls& controls) {
    QGroupBox* group = Group(panel, Tr(QT_TRANSLATE_NOOP("orv::ParamPanel", "パーティクル設定")));
    auto* columns = new QHBoxLayout(group);
    Compact(columns);
    columns->setSpacing(10);
    QVBoxLayout* left = Column(columns);
    AddRows(*group, controls, left, {{kMaxParticles, kRotPerSec - 1}});
    left->addStretch(1);
    QVBoxLayout* right = Column(columns);
    AddRows(*group, controls, right, {{kRotPerSec, kRotPerSecVariance}, {kHorAmplitude, kVerCycleVar}});

    auto* sortRow = new QHBoxLayout;
    sortRow->addWidget(new QLabel(Tr(QT_TRANSLATE_NOOP("orv::ParamPanel", "ソート")), group));
    controls.sortCombo = Combo(*group, kIdSortCombo,
                               {QT_TRANSLATE_NOOP("orv::ParamPanel", "なし"),
                                QT_TRANSLATE_NOOP("orv::ParamPanel", "生存時間 長手前"),
                                QT_TRANSLATE_NOOP("orv::ParamPanel", "生存時間 短手前"),
                                QT_TRANSLATE_NOOP("orv::ParamPanel", "スケール 大手前"),
                                QT_TRANSLATE_NOOP("orv::ParamPanel", "スケール 小手前")});
    sortRow->addWidget(controls.sortCombo, 1);
    right->addSpacing(4);
    right->addLayout(sortRow);
    controls.textureDirection = Check(
        *group, kIdTextureDirection, QT_TRANSLATE_NOOP("orv::ParamPanel", "進行方向に向きを合わせる"), false);
    right->addWidget(controls.textureDirection);
    right->addStretch(1);
    return group;
}

QGroupBox* RowGroup(QWidget& panel, ParamPanelControls& controls, const QString& caption, int id,
                    std::size_t first, std::size_t last) {
    QGroupBox* group = Group(panel, caption);
    if (id != 0) group->setObjectName(Id(id));
    auto* column = new QVBoxLayout(group);
    Compact(column);
    AddRows(*group, controls, column, {{first, last}});
    return group;
}

// The four colour columns (red, green, blue, alpha rows under each caption) and the colour flags.
QGroupBox* ColourGroup(QWidget& panel, ParamPanelControls& controls) {
    QGroupBox* group = Group(panel, Tr(QT_TRANSLATE_NOOP("orv::ParamPanel", "カラー")));
    auto* outer = new QVBoxLayout(group);
    Compact(outer);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(1);
    struct ColourColumn {
        const char* caption;
        std::size_t firstRow;
    };
    const ColourColumn columns[] = {
        {QT_TRANSLATE_NOOP("orv::ParamPanel", "初期カラー"), kStartColorR},
        {QT_TRANSLATE_NOOP("orv::ParamPanel", "初期カラー振れ幅"), kStartColorRVar},
        {QT_TRANSLATE_NOOP("orv::ParamPanel", "最終カラー"), kFinishColorR},
        {QT_TRANSLATE_NOOP("orv::ParamPanel", "最終カラー振れ幅"), kFinishColorRVar}};
    int column = 0;
    for (const ColourColumn& colour : columns) {
        grid->addWidget(new QLabel(Tr(colour.caption), group), 0, column);
        for (int channel = 0; channel < 4; ++channel) {
            grid->addWidget(MakeRow(*group, controls, colour.firstRow + channel), channel + 1, column);
        }
        grid->setColumnStretch(column, 1);
        ++column;
    }
    outer->addLayout(grid);

    auto* flags = new QHBoxLayout;
    controls.enableColor =
        Check(*group, kIdEnableColor, QT_TRANSLATE_NOOP("orv::ParamPanel", "色を反映"), true);
    controls.colorConstant =
        Check(*group, kIdColorConstant, QT_TRANSLATE_NOOP("orv::ParamPanel", "色変化なし"), false);
    flags->addWidget(controls.enableColor);
    flags->addWidget(controls.colorConstant);
    flags->addStretch(1);
    flags->addWidget(new QLabel(Tr(QT_TRANSLATE_NOOP("orv::ParamPanel", "ブレンド方法")), group));
    controls.blendCombo = Combo(
        *group, kIdBlendCombo,
        {QT_TRANSLATE_NOOP("orv::ParamPanel", "加算合成"), QT_TRANSLATE_NOOP("orv::ParamPanel", "通常合成")});
    flags->addWidget(controls.blendCombo);
    outer->addLayout(flags);
    return group;
}

// The emitter list with the type choice and the panel's three buttons.
QWidget* EmitterBox(QWidget& panel, ParamPanelControls& controls) {
    auto* box = new QWidget(&panel);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 6, 0, 0);
    layout->setSpacing(4);

    auto* typeRow = new QHBoxLayout;
    typeRow->addWidget(new QLabel(Tr(QT_TRANSLATE_NOOP("orv::ParamPanel", "エミッター種別")), box));
    controls.typeCombo = Combo(*box, kIdTypeCombo, {"Gravity", "Radial"});
    typeRow->addWidget(controls.typeCombo, 1);
    layout->addLayout(typeRow);

    controls.list = new EmitterListWidget(box);
    controls.list->setObjectName(Id(kIdEmitterList));
    controls.list->setSelectionMode(QAbstractItemView::SingleSelection);
    layout->addWidget(controls.list, 1);

    auto* buttons = new QHBoxLayout;
    controls.menuButton = Button(*box, kIdMenuButton, QT_TRANSLATE_NOOP("orv::ParamPanel", "メニュー"));
    controls.textureButton =
        Button(*box, kIdTextureButton, QT_TRANSLATE_NOOP("orv::ParamPanel", "テクスチャ"));
    controls.resetButton = Button(*box, kIdResetButton, QT_TRANSLATE_NOOP("orv::ParamPanel", "リセット"));
    buttons->addWidget(controls.menuButton);
    buttons->addWidget(controls.textureButton);
    buttons->addWidget(controls.resetButton);
    layout->addLayout(buttons);
    return box;
}

}  // namespace

ParamPanelControls BuildParamPanel(QWidget& panel) {
    ParamPanelControls controls;
    auto* layout = new QVBoxLayout(&panel);
    layout->setContentsMargins(4, 2, 4, 4);
    layout->setSpacing(2);

    auto* top = new QHBoxLayout;
    top->setSpacing(4);
    top->addWidget(ParticleGroup(panel, controls), 2);

    auto* motion = new QVBoxLayout;
    controls.gravityGroup =
        RowGroup(panel, controls, QStringLiteral("Gravity"), kIdGravityGroup, kXVariance, kRadAccVar);
    controls.radialGroup =
        RowGroup(panel, controls, QStringLiteral("Radial"), kIdRadialGroup, kMaxRadius, kDegPerSecVar);
    controls.radialGroup->hide();
    motion->addWidget(controls.gravityGroup);
    motion->addWidget(controls.radialGroup);
    motion->addStretch(1);
    top->addLayout(motion, 1);

    auto* timing = new QVBoxLayout;
    timing->addWidget(RowGroup(panel, controls, Tr(QT_TRANSLATE_NOOP("orv::ParamPanel", "グループ")), 0,
                               kDelay, kDuration));
    timing->addWidget(
        RowGroup(panel, controls, Tr(QT_TRANSLATE_NOOP("orv::ParamPanel", "背景色")), 0, kBgR, kBgA));
    timing->addStretch(1);
    top->addLayout(timing, 1);
    layout->addLayout(top);

    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(4);
    bottom->addWidget(ColourGroup(panel, controls), 3, Qt::AlignTop);
    bottom->addWidget(EmitterBox(panel, controls), 1);
    layout->addLayout(bottom, 1);
    return controls;
}

}  // namespace orv
