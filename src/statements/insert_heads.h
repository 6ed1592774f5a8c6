// The constant beginnings of the two kinds of INSERT statement that create
// situation rows. The run holds them and hands them to the builders.
#ifndef TORNVEL_STATEMENTS_INSERT_HEADS_H_
#define TORNVEL_STATEMENTS_INSERT_HEADS_H_

#include <string_view>

namespace tornvel {

// Begins every service-class situation: the fixed columns of a new situation,
// its affinity string included, up to and including the comma after SOURCE.
// The builder appends LSTDATE, TEXT, SITNAME and PDT.
inline constexpr std::string_view kServiceClassInsertHead =
    "INSERT INTO VORDA.TSITDESC (ADVISE,AFFINITIES,ALERTLIST,AUTOSOPT,AUTOSTART,CMD,DESTNODE,"
    "EVENTATTR,HUB,LOCFLAG,LSTCCSID,LSTRELEASE,LSTUSRPRF,NOCOL,NOTIFYARGS,NOTIFYOPTS,"
    "OBJECTLOCK,PRNAMES,QIBCLASSID,QIBSCOPE,REEV_DAYS,REEV_TIME,REFLEXOK,RESERVED,SENDMSGQ,"
    "SITINFO,SOURCE,LSTDATE,TEXT,SITNAME,PDT) VALUES("
    "\"\",\"##################################000000000\",\"\",\"NNN\",\"*NO\",\"*NONE\","
    "\"\",\"\",\"\",\"\",\"\",\"V100\",\"SYSADMIN\",\"\",\"\",\"\",\"\",\"\","
    "\"UUUU\",\"E\",\"0\",\"001500\",\"\",\"\",\"*NONE\",\"~\",\"\",";

// Begins every build-mode INSERT: the fixed columns up to the opening double
// quote of the TEXT value. The conversion appends TEXT, LSTDATE, AFFINITIES,
// SITNAME and PDT.
inline constexpr std::string_view kBuildModeInsertHead =
    "INSERT INTO VORDA.TSITDESC (ADVISE,AUTOSOPT,AUTOSTART,CMD,LSTRELEASE,LSTUSRPRF,QIBCLASSID,"
    "QIBSCOPE,REEV_DAYS,REEV_TIME,SENDMSGQ,SITINFO,TEXT,LSTDATE,AFFINITIES,SITNAME,PDT) VALUES(?,"
    "\"NNN\",\"*NO\",\"*NONE\",\"V100\",\"SYSADMIN\",\"UUUU\",\"E\",\"0\",\"001500\","
    "\"*NONE\",\"~\",\"";

}  // namespace tornvel

#endif  // TORNVEL_STATEMENTS_INSERT_HEADS_H_
