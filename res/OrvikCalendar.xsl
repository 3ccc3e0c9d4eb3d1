<?xml version="1.0" encoding="UTF-8"?>
<!--
  OrvikCalendar's default stylesheet: shows the month that File > Print or
  View > Preview in browser exported as a calendar page of six weeks, for the
  screen and for an A4 or Letter sheet in landscape.
-->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
  <xsl:output method="html" encoding="UTF-8" indent="yes" doctype-system="about:legacy-compat"/>

  <xsl:variable name="displayedYear" select="/OrvikCalendar/year"/>
  <xsl:variable name="displayedMonth" select="/OrvikCalendar/moy"/>
  <xsl:variable name="todayOfYear" select="/OrvikCalendar/doy"/>
  <xsl:variable name="sundayFirst" select="/OrvikCalendar/sundayfirst = 1"/>

  <xsl:template match="/OrvikCalendar">
    <html>
      <head>
        <title><xsl:value-of select="concat(monthname, ' ', year)"/></title>
        <style>
          @page { size: landscape; margin: 10mm; }
          * { box-sizing: border-box; }
          html, body { margin: 0; }
          body {
            padding: 14px 18px;
            font-family: "Segoe UI", "Helvetica Neue", Arial, sans-serif;
            color: #222;
            background: #fff;
            -webkit-print-color-adjust: exact;
            print-color-adjust: exact;
          }
          h1 { margin: 0 0 10px; font-size: 26px; font-weight: 300; letter-spacing: 0.5px; }
          h1 .year { color: #8a8a8a; }
          table { width: 100%; border-collapse: collapse; table-layout: fixed; page-break-inside: avoid; }
          col.week { width: 2.4em; }
          thead th {
            padding: 4px 6px;
            border-bottom: 2px solid #555;
            font-size: 11px; font-weight: 600; letter-spacing: 1px;
            text-align: left; text-transform: uppercase; color: #555;
          }
          thead th.weekend { color: #a05a2c; }
          th.week { padding: 5px 0 0; font-size: 10px; font-weight: normal; text-align: center;
                    vertical-align: top; color: #999; }
          thead th.week { border-bottom: 2px solid #555; }
          td { padding: 0; border: 1px solid #cfcfcf; vertical-align: top; }
          td.weekend { background: #faf6ef; }
          td.other { background: #f1f1f1; color: #a8a8a8; }
          .cell { height: calc((100vh - 110px) / 6); min-height: 72px; padding: 3px 6px; overflow: hidden; }
          .number { margin-bottom: 2px; font-size: 13px; font-weight: 600; text-align: right; }
          td.today { background: #fff4f2; box-shadow: inset 0 0 0 2px #c0392b; }
          td.today .number span {
            display: inline-block; min-width: 1.7em; height: 1.7em; line-height: 1.7em;
            border-radius: 0.85em; text-align: center; color: #fff; background: #c0392b;
          }
          .line { min-height: 1.3em; font-size: 11px; line-height: 1.3;
                  white-space: pre-wrap; overflow-wrap: break-word; }
          @media print {
            body { padding: 0; }
            h1 { font-size: 18pt; margin-bottom: 3mm; }
            .cell { height: 28mm; min-height: 0; }
          }
        </style>
      </head>
      <body>
        <h1><xsl:value-of select="monthname"/><xsl:text> </xsl:text>
          <span class="year"><xsl:value-of select="year"/></span></h1>
        <table>
          <colgroup><col class="week"/><col span="7"/></colgroup>
          <thead>
            <tr>
              <th class="week">Wk</th>
              <xsl:if test="$sundayFirst"><th class="weekend">Sunday</th></xsl:if>
              <th>Monday</th>
              <th>Tuesday</th>
              <th>Wednesday</th>
              <th>Thursday</th>
              <th>Friday</th>
              <th class="weekend">Saturday</th>
              <xsl:if test="not($sundayFirst)"><th class="weekend">Sunday</th></xsl:if>
            </tr>
          </thead>
          <tbody>
            <xsl:for-each select="event[position() mod 7 = 1]">
              <xsl:variable name="week" select=". | following-sibling::event[position() &lt; 7]"/>
              <tr>
                <!-- The week of the row's Monday: a row starting on a Sunday
                     shares six of its days with that week. -->
                <th class="week">
                  <xsl:call-template name="iso-week">
                    <xsl:with-param name="day" select="$week[dow = 2]"/>
                  </xsl:call-template>
                </th>
                <xsl:apply-templates select="$week"/>
              </tr>
            </xsl:for-each>
          </tbody>
        </table>
      </body>
    </html>
  </xsl:template>

  <xsl:template match="event">
    <td>
      <xsl:attribute name="class">
        <xsl:text>day</xsl:text>
        <xsl:if test="moy != $displayedMonth"> other</xsl:if>
        <xsl:if test="dow = 1 or dow = 7"> weekend</xsl:if>
        <!-- The export names today only by its day of the year, not its
             year: taking the displayed year is right whenever today's month
             is shown, but would also mark the same day of another year. -->
        <xsl:if test="doy = $todayOfYear and year = $displayedYear"> today</xsl:if>
      </xsl:attribute>
      <div class="cell">
        <div class="number"><span><xsl:value-of select="dom"/></span></div>
        <xsl:for-each select="line">
          <div class="line"><xsl:value-of select="."/></div>
        </xsl:for-each>
      </div>
    </td>
  </xsl:template>

  <!-- ISO 8601 week number of an event: weeks run Monday to Sunday, and
       week 1 holds the year's first Thursday. -->
  <xsl:template name="iso-week">
    <xsl:param name="day"/>
    <xsl:variable name="mondayBased" select="($day/dow + 5) mod 7 + 1"/>
    <xsl:variable name="week" select="floor(($day/doy - $mondayBased + 10) div 7)"/>
    <xsl:choose>
      <xsl:when test="$week &lt; 1">
        <xsl:call-template name="weeks-in-year">
          <xsl:with-param name="year" select="$day/year - 1"/>
        </xsl:call-template>
      </xsl:when>
      <xsl:otherwise>
        <xsl:variable name="weeksInYear">
          <xsl:call-template name="weeks-in-year">
            <xsl:with-param name="year" select="$day/year"/>
          </xsl:call-template>
        </xsl:variable>
        <xsl:choose>
          <xsl:when test="$week &gt; $weeksInYear">1</xsl:when>
          <xsl:otherwise><xsl:value-of select="$week"/></xsl:otherwise>
        </xsl:choose>
      </xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <!-- 53 when the year ends on a Thursday or begins on one (the year before
       then ends on a Wednesday); 52 otherwise. p and q are the weekdays of
       31 December of the year and of the year before, 0 = Sunday. -->
  <xsl:template name="weeks-in-year">
    <xsl:param name="year"/>
    <xsl:variable name="p" select="($year + floor($year div 4) - floor($year div 100)
                                    + floor($year div 400)) mod 7"/>
    <xsl:variable name="q" select="($year - 1 + floor(($year - 1) div 4) - floor(($year - 1) div 100)
                                    + floor(($year - 1) div 400)) mod 7"/>
    <xsl:value-of select="52 + number($p = 4 or $q = 3)"/>
  </xsl:template>
</xsl:stylesheet>
