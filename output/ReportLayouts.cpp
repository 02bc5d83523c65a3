#include "output/ReportLayouts.h"

#include <QtCore/qglobal.h>

// The logo is compiled into this static library; its resources register
// only when asked, and Q_INIT_RESOURCE must be used outside any namespace.
static void InitPrintResources()
{
    Q_INIT_RESOURCE(PrintResources);
}

namespace quillon {
namespace {

const QColor kNavy(0x00, 0x00, 0x80);
const QColor kBlue(0x00, 0x00, 0xFF);

constexpr char kTitle[] = "Tarvex Corporation Quillon";

TReportFont Font(double size, bool bold, const QColor& colour = Qt::black)
{
    return {size, bold, colour};
}

}  // namespace

QList<TPipelineField> ListPipelineFields()
{
    return {
        {QStringLiteral("Part Number"), 15},      {QStringLiteral("Frequency Band"), 10},
        {QStringLiteral("Description"), 150},     {QStringLiteral("Mid Band Frequency"), 10},
        {QStringLiteral("AttenuationF"), 10},     {QStringLiteral("AttenuationM"), 10},
        {QStringLiteral("TotalAttenuation"), 10}, {QStringLiteral("Insertion Loss"), 10},
        {QStringLiteral("Efficiency"), 10},       {QStringLiteral("PeakPower"), 10},
        {QStringLiteral("AveragePower"), 10},     {QStringLiteral("VSWR Derated Power"), 10},
        {QStringLiteral("List Price F"), 10},     {QStringLiteral("List Price M"), 10},
    };
}

QList<TPipelineField> SelectionPipelineFields()
{
    return {
        {QStringLiteral("PartNumber"), 15},       {QStringLiteral("FrequencyBand"), 10},
        {QStringLiteral("Description"), 150},     {QStringLiteral("MidBandFrequency"), 10},
        {QStringLiteral("AttenuationF"), 10},     {QStringLiteral("AttenuationM"), 10},
        {QStringLiteral("TotalAttenuation"), 10}, {QStringLiteral("InsertionLoss"), 10},
        {QStringLiteral("Efficiency"), 10},       {QStringLiteral("PeakPower"), 10},
        {QStringLiteral("AveragePower"), 10},     {QStringLiteral("VSWR DeratedPower"), 10},
        {QStringLiteral("ListPriceF"), 10},       {QStringLiteral("ListPriceM"), 10},
        {QStringLiteral("C1Type"), 10},           {QStringLiteral("C1PartNumber"), 15},
        {QStringLiteral("C1Description"), 150},   {QStringLiteral("C1Price"), 10},
        {QStringLiteral("C2Type"), 10},           {QStringLiteral("C2PartNumber"), 15},
        {QStringLiteral("C2Description"), 150},   {QStringLiteral("C2Price"), 10},
    };
}

QImage ReportLogo()
{
    InitPrintResources();
    return QImage(QStringLiteral(":/print/report-logo.png"));
}

TReport MakeListReport(const TTextPipeline& tplAll, const QImage& logo)
{
    using E = TReportElement;
    const auto center = TReportAlign::Center;
    TReport report;
    report.name = QStringLiteral("rptAll");
    report.data = &tplAll;

    TReportBand title;
    title.height = 15.9;
    title.elements = {
        E::Picture(logo, {0.0, 0.0, 40.5, 13.2}, /*stretch*/ true),
        // Our logo is drawn to its right edge: the title keeps clear of it.
        E::Label(kTitle, {44.0, 5.0, 0.0, 0.0}, Font(20, true)),
    };
    report.title = title;

    // Captions of the detail band's fields, in the same three rows.
    TReportBand header;
    header.height = 25.4;
    const TReportFont bold = Font(10, true);
    const TReportFont black = Font(10, false);
    const TReportFont navy = Font(10, false, kNavy);
    header.elements = {
        E::Label("Part Number", {2.4, 1.6, 21.2, 0}, bold, center),
        E::Label("Description", {2.4, 7.4, 18.8, 0}, bold, center),
        E::Label("Attenuation dB/100ft", {2.1, 13.2, 36.0, 0}, black, center),
        E::Label("Attenuation dB/100m", {39.7, 13.2, 35.7, 0}, black, center),
        E::Label("Total Attenuation", {76.2, 13.2, 30.7, 0}, black, center),
        E::Label("Insertion Loss", {108.2, 13.2, 28.8, 0}, black, center),
        // On the same line as the other captions of the row.
        E::Label("Efficiency", {138.4, 13.2, 22.5, 0}, black, center),
        E::Label("Frequency Band", {161.9, 13.2, 30.7, 0}, black, center),
        E::Label("Mid Band Frequency", {2.1, 18.8, 33.9, 0}, navy, center),
        E::Label("Peak Power", {39.4, 18.8, 20.6, 0}, navy, center),
        E::Label("Average Power", {61.1, 18.8, 25.9, 0}, navy, center),
        E::Label("VSWR Derated AVG Power", {88.1, 18.8, 44.5, 0}, navy, center),
        E::Label("List Price Per Foot", {133.4, 18.8, 30.4, 0}, navy, center),
        E::Label("List Price Per Meter", {164.6, 18.8, 32.5, 0}, navy, center),
    };
    report.header = header;

    TReportBand& detail = report.detail;
    detail.height = 31.5;
    detail.elements = {
        E::Rule(0.5, 2.1, 200.6),
        E::Field("Part Number", {2.9, 4.5, 31.8, 0}, Font(12, true)),
        E::Field("Description", {3.2, 11.4, 188.6, 6.9}, bold, TReportAlign::Left, /*wrap*/ true),
        E::Field("AttenuationF", {2.9, 19.3, 31.2, 0}, black, center),
        E::Field("AttenuationM", {38.9, 19.3, 32.3, 0}, black, center),
        E::Field("TotalAttenuation", {75.4, 19.3, 25.9, 0}, black, center),
        E::Field("Insertion Loss", {107.4, 19.3, 21.4, 0}, black, center),
        E::Field("Efficiency", {137.3, 19.3, 13.0, 0}, black, center),
        E::Field("Frequency Band", {159.0, 19.3, 25.1, 0}, black, center),
        E::Field("Mid Band Frequency", {4.2, 25.4, 31.8, 0}, navy, center),
        E::Field("PeakPower", {41.5, 25.4, 18.5, 0}, navy, center),
        E::Field("AveragePower", {64.3, 25.4, 22.8, 0}, navy, center),
        E::Field("VSWR Derated Power", {90.0, 25.4, 34.1, 0}, navy, center),
        E::Field("List Price F", {136.0, 25.4, 28.8, 0}, navy, center),
        E::Field("List Price M", {166.4, 25.4, 30.7, 0}, navy, center),
    };

    TReportBand footer;
    footer.height = 13.0;
    footer.elements = {
        E::PrintedAt(2.1, 5.3, black),
        E::PageOfPages(172.2, 5.3, black),
    };
    report.footer = footer;
    return report;
}

TReport MakeSelectedReport(const TTextPipeline& tplSelection, const QImage& logo)
{
    using E = TReportElement;
    TReport report;
    report.name = QStringLiteral("rptSelected");
    report.data = &tplSelection;

    TReportBand header;
    header.height = 14.6;
    header.elements = {
        E::Picture(logo, {0.5, 0.0, 36.2, 13.2}, /*stretch*/ false),
        E::Label(kTitle, {40.0, 4.8, 0.0, 0.0}, Font(20, true)),
    };
    report.header = header;

    // Captions end at 55 mm, values start at 59 mm; the lines of a section
    // follow one another every 5.8 mm, and headings and rules share one left
    // edge, so the columns read straight down the sheet.
    constexpr double kCaptionRight = 55.0;
    constexpr double kValueLeft = 59.0;
    constexpr double kValueWidth = 109.0;
    const TReportFont heading = Font(18, true);
    const TReportFont caption = Font(12, true, kBlue);
    const TReportFont value = Font(12, false);

    TReportBand& detail = report.detail;
    detail.height = 223.6;
    auto line = [&](double y, const char* text, const char* field, double wrapHeight = 0.0) {
        detail.elements.push_back(E::Label(text, {0.0, y, kCaptionRight, 0}, caption, TReportAlign::Right));
        detail.elements.push_back(
            E::Field(field, {kValueLeft, y, kValueWidth, wrapHeight}, value, TReportAlign::Left, wrapHeight > 0.0));
    };

    detail.elements.push_back(E::Label("Transmission Line:", {4.2, 3.2, 0, 0}, heading));
    line(15.1, "Part Number:", "PartNumber");
    line(20.6, "Description:", "Description", 17.5);
    line(40.0, "Frequency Band, MHz:", "FrequencyBand");
    line(45.8, "Mid Band Frequency, MHz:", "MidBandFrequency");
    line(51.6, "Attenuation dB/100ft:", "AttenuationF");
    line(57.4, "Attenuation dB/100m:", "AttenuationM");
    line(63.2, "Total Attenuation:", "TotalAttenuation");
    line(69.0, "Insertion Loss:", "InsertionLoss");
    line(74.8, "Efficiency %:", "Efficiency");
    line(80.6, "Peak Power:", "PeakPower");
    line(86.4, "Average Power:", "AveragePower");
    line(92.2, "VSWR Derated Avg. Power:", "VSWR DeratedPower");
    line(98.0, "List Price Per Foot:", "ListPriceF");
    line(103.8, "List Price Per Meter:", "ListPriceM");

    detail.elements.push_back(E::Rule(3.7, 114.0, 168.3));
    detail.elements.push_back(E::Label("Connector #1:", {4.2, 115.9, 0, 0}, heading));
    line(126.5, "Part Number:", "C1PartNumber");
    line(132.3, "Type:", "C1Type");
    line(138.1, "Description:", "C1Description", 24.1);
    line(163.0, "Price:", "C1Price");

    detail.elements.push_back(E::Rule(3.7, 169.9, 168.3));
    detail.elements.push_back(E::Label("Connector #2:", {4.2, 171.2, 0, 0}, heading));
    line(181.8, "Part Number:", "C2PartNumber");
    line(187.6, "Type:", "C2Type");
    line(193.4, "Description:", "C2Description", 24.1);
    line(218.3, "Price:", "C2Price");

    TReportBand footer;
    footer.height = 13.2;
    footer.elements = {
        E::PrintedAt(4.2, 5.3, Font(10, false)),
        E::PageOfPages(177.8, 5.3, Font(10, false)),
    };
    report.footer = footer;
    return report;
}

}  // namespace quillon
