<?xml version="1.0" encoding="UTF-8"?>
<!-- Lays out an XML document for people to read: every element on a line of
     its own, indented by its depth in steps of "indent-increment"; an element
     with child elements closes on a line of its own at its own indentation;
     attributes are copied unchanged; text made only of white space is
     dropped, other text copied; comments and processing instructions kept. -->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
  <xsl:output method="xml" encoding="UTF-8" cdata-section-elements="CData"/>
  <xsl:param name="indent-increment" select="'   '"/>

  <xsl:template match="*">
    <xsl:param name="indent" select="''"/>
    <xsl:if test="parent::*">
      <xsl:text>&#10;</xsl:text>
      <xsl:value-of select="$indent"/>
    </xsl:if>
    <xsl:copy>
      <xsl:copy-of select="@*"/>
      <xsl:apply-templates select="node()">
        <xsl:with-param name="indent" select="concat($indent, $indent-increment)"/>
      </xsl:apply-templates>
      <xsl:if test="*">
        <xsl:text>&#10;</xsl:text>
        <xsl:value-of select="$indent"/>
      </xsl:if>
    </xsl:copy>
  </xsl:template>

  <xsl:template match="comment()|processing-instruction()">
    <xsl:param name="indent" select="''"/>
    <xsl:if test="parent::*">
      <xsl:text>&#10;</xsl:text>
      <xsl:value-of select="$indent"/>
    </xsl:if>
    <xsl:copy/>
  </xsl:template>

  <xsl:template match="text()[normalize-space(.) = '']"/>

  <xsl:template match="text()">
    <xsl:value-of select="."/>
  </xsl:template>
</xsl:stylesheet>
