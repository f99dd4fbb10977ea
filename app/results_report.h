#pragma once
// The results report of the round just played: both sides' measures side
// by side, their speed over time as a chart, the slowest entries and the
// entries missed with their codes. It can be saved as a PNG picture and as
// a self-contained HTML page (the chart inside it).

#include <QDialog>
#include <cstdint>
#include <map>
#include <string>

#include "history/played_round.h"
#include "history/side_measures.h"

class QChartView;

namespace qiru::app {

class ResultsReport final : public QDialog {
 public:
  // `names`: names given to machine numbers.
  ResultsReport(const PlayedRound& round, const std::map<std::int32_t, std::string>& names, QWidget* parent = nullptr);

  // The report as one HTML page: the tables, and the chart as an embedded PNG.
  QString html() const;
  bool savePicture(const QString& file);
  bool saveHtml(const QString& file) const;

 private:
  void choosePictureFile();
  void chooseHtmlFile();

  PlayedRound round_;
  SideMeasures sides_[2];
  QString titles_[2];  // "红方 10001 张三"
  QChartView* chart_ = nullptr;
};

// "红方  10001 张三": the side with its machine number and the number's name.
QString sideHeading(std::int32_t side, std::int32_t machine, const std::map<std::int32_t, std::string>& names);

}  // namespace qiru::app
