#pragma once
// A complete demo installation in a local data folder: a working office with base
// data, eighteen months of deposits in every stage of their life, requests,
// refunds, petty cash, credit notices, guarantees, letters, footers, vouchers and
// bank statements, all agreeing with each other.
#include "core/startup/Prompt.h"

#include <QString>

namespace orvak::demo {

inline constexpr int DemoInstallationNumber = 275;
inline constexpr const char* DemoOrvakPassword = "orvak-demo";
inline constexpr int DemoManagerCode = 3;
inline constexpr const char* DemoManagerPassword = "1234";

inline constexpr int DemoMinScale = 1;
inline constexpr int DemoMaxScale = 1000;

struct DemoOptions {
    QString folder;         // start folder of the installation (created when missing)
    int scale = 1;          // 1: about ten thousand deposits; 100: about a million
    quint64 seed = 1403;
    QString today;          // Jalali "YYYY/MM/DD" the data is built around; empty: today
    int deposits = 0;       // a small office of this many deposits instead (tests); 0: the scale's
};

struct DemoSummary {
    bool ok = false;
    QString message;
    qint64 deposits = 0;
    qint64 refundRows = 0;
    qint64 requestRows = 0;
    qint64 guarantees = 0;
    qint64 voucherRows = 0;
    QStringList databases;
};

// Why the options cannot make an installation, empty when they can. The builder
// asks this before it creates anything.
QString demoOptionsProblem(const DemoOptions& options);

DemoSummary buildDemoInstallation(const DemoOptions& options, startup::Prompt& prompt);

} // namespace orvak::demo
