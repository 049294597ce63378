#include "app/LogFormat.h"

namespace logformat {

QString fileName(const QString &dir, const QDateTime &time)
{
    return QStringLiteral("%1/%2_log.html").arg(dir, time.toString(QStringLiteral("yyyy-MM-dd_hh")));
}

const QString &header()
{
    static const QString text
        = QStringLiteral("\n"
                         "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?>\n"
                         "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
                         "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\n"
                         "<html>\n"
                         "<head>\n"
                         "<title>Vendrasi log file</title>\n"
                         "<meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\" />\n"
                         "<style type=\"text/css\" id=\"logCss\">\n"
                         "body { background: #18242b; color: #afc6d1; margin-right: 20px; margin-left: 20px; "
                         "font-size: 14px; font-family: Arial, sans-serif, sans; }\n"
                         "a { text-decoration: none; }\n"
                         "a:link { color: #a0b2bb; }\n"
                         "a:active { color: #f59504; }\n"
                         "a:visited { color: #adc7d4; }\n"
                         "a:hover { color: #e49115; }\n"
                         "h1 { text-align: center; }\n"
                         "h2 { color: #ebe5e5; }\n"
                         ".d, .w, .c, .f, .i { padding: 3px; overflow: auto; }\n"
                         ".d { background-color: #0f1011; color: #a8c1ce; }\n"
                         ".i { background-color: #294453; color: #a8c1ce; }\n"
                         ".w { background-color: #7993a0; color: #1b2329; }\n"
                         ".c { background-color: #ff952b; color: #1d2930; }\n"
                         ".f { background-color: #fc0808; color: #19242b; }\n"
                         "</style>\n"
                         "</head>\n"
                         "<body>\n"
                         "<h1><a href=\"#\">Tolvek Tablet Logger</a></h1>\n"
                         "<script type=\"text/JavaScript\">\n"
                         "function objHide(obj) { obj.style.display = \"none\"; }\n"
                         "function objShow(obj) { obj.style.display = \"block\"; }\n"
                         "function selectType() {\n"
                         "    var type = document.getElementById(\"typeSelect\").value;\n"
                         "    var classes = [\"d\", \"i\", \"w\", \"c\", \"f\"];\n"
                         "    for (var i = 0; i < classes.length; i++) {\n"
                         "        var lines = document.getElementsByClassName(classes[i]);\n"
                         "        var show = type == \"a\" || type == classes[i];\n"
                         "        for (var j = 0; j < lines.length; j++) {\n"
                         "            if (show)\n"
                         "                objShow(lines[j]);\n"
                         "            else\n"
                         "                objHide(lines[j]);\n"
                         "        }\n"
                         "    }\n"
                         "}\n"
                         "</script>\n"
                         "<select id=\"typeSelect\" onchange=\"selectType()\">\n"
                         "<option value=\"a\" selected=\"selected\">All</option>\n"
                         "<option value=\"d\">Debug</option>\n"
                         "<option value=\"i\">Info</option>\n"
                         "<option value=\"w\">Warning</option>\n"
                         "<option value=\"c\">Critical</option>\n"
                         "<option value=\"f\">Fatal</option>\n"
                         "</select>");
    return text;
}

QChar levelLetter(QtMsgType type)
{
    static const char letters[] = "dwcfi";
    const int index = int(type);
    return index >= 0 && index < 5 ? QLatin1Char(letters[index]) : QLatin1Char('d');
}

QString plainText(const QDateTime &time, const QString &message)
{
    return QStringLiteral("%1 %2").arg(time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")), message);
}

QString htmlLine(QtMsgType type, const QDateTime &time, const QString &message)
{
    return QStringLiteral("<div class=\"%1\">%2</div>\r\n")
        .arg(QString(levelLetter(type)), plainText(time, message).toHtmlEscaped());
}

} // namespace logformat
