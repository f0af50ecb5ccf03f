// The field table of PaneRecord.
#include "model/PaneRecord.h"

namespace qv {

#define QV_I(f) PaneField{#f, FieldKind::Integer, &PaneRecord::f}
#define QV_L(f) PaneField{#f, FieldKind::Long, &PaneRecord::f}
#define QV_F(f) PaneField{#f, FieldKind::Flag, &PaneRecord::f}
#define QV_T(f) PaneField{#f, FieldKind::Text, &PaneRecord::f}

const std::array<PaneField, 60>& PaneFields() {
  static const std::array<PaneField, 60> fields = {
      QV_F(InUse), QV_I(Left), QV_I(Top), QV_I(Width), QV_I(Height), QV_F(BlackTransparent),
      QV_I(SheetX), QV_I(SheetY), QV_F(UseWriting), QV_T(WritingText), QV_T(WritingFontName),
      QV_L(WritingForeColor), QV_L(WritingBackColor), QV_I(WritingFontSize), QV_F(WritingBold),
      QV_F(WritingItalic), QV_F(WritingUnderline), QV_I(WritingMode), QV_I(WritingWidth),
      QV_I(WritingHeight), QV_L(Sound), QV_F(PictureLoaded), QV_T(PictureName), QV_F(UseURL),
      QV_T(URL), QV_I(Process), QV_I(StartValue), QV_I(ProcessAmount), QV_I(Value), QV_I(Layer),
      QV_I(EffectType), QV_I(EffectDuration), QV_F(Flashing), QV_I(MouseEffect), QV_F(Visible),
      QV_I(RevealPane), QV_I(RevealValue), QV_I(CelWidth), QV_I(CelHeight), QV_I(CelsAcross),
      QV_I(CelsDown), QV_I(CelDelay), QV_I(CelDelayCount), QV_I(CelCount), QV_I(CelColumn),
      QV_I(CelRow), QV_F(FlipOnBounds), QV_T(Label), QV_I(FlipCode), QV_I(Direction),
      QV_I(Collision), QV_I(MoveType), QV_I(Speed), QV_I(MoveDelay), QV_I(MoveDelayCount),
      QV_I(CelWrapFlag), QV_I(LifeStartValue), QV_I(LifeEndValue), QV_F(MouseOver),
      QV_F(SpareFlag),
  };
  return fields;
}

#undef QV_I
#undef QV_L
#undef QV_F
#undef QV_T

int PaneField::maxLength() const {
  const QLatin1String n(name);
  return n == QLatin1String("Label") ? MaxLabelLength : n == QLatin1String("WritingText") ? MaxWritingLength
         : n == QLatin1String("URL")  ? MaxUrlLength : MaxNameLength;
}

qint64 PaneField::number(const PaneRecord& r) const {
  if (auto p = std::get_if<0>(&member)) return r.**p;
  if (auto p = std::get_if<1>(&member)) return r.**p;
  return 0;
}

void PaneField::setNumber(PaneRecord& r, qint64 v) const {
  if (auto p = std::get_if<0>(&member)) r.**p = Integer(v);
  else if (auto p = std::get_if<1>(&member)) r.**p = Long(v);
}

const PaneField* PaneFieldByName(const QString& name) {
  for (const auto& f : PaneFields())
    if (name == QLatin1String(f.name)) return &f;
  return nullptr;
}

}  // namespace qv
