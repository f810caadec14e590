#pragma once
// The ladder file (*.Plc): one PlcNodeRecord per node of the rung tree, 114 bytes each, back to back, no
// header, no count. Each record is five Windows-1252 text fields, left-aligned, padded with blanks and cut
// at their widths, with no separator. The ladder editor, the settings collection and the logic converter
// all read and write ladder files through this codec.
//
//   offset  width  field
//        0     35  Relative  key of the parent node ("Start" for a rung node)
//       35     35  Key       the node's key
//       70     30  Text      the node's text
//      100      4  Image     image number in decimal: 8 rung, 2 inputs, 17 outputs, else the element code
//      104     10  Value     preset the node carries in decimal, "0" when none

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <vector>

namespace ladder {

struct PlcNodeRecord {
    static constexpr int RelativeWidth = 35;
    static constexpr int KeyWidth = 35;
    static constexpr int TextWidth = 30;
    static constexpr int ImageWidth = 4;
    static constexpr int ValueWidth = 10;
    static constexpr int Size = RelativeWidth + KeyWidth + TextWidth + ImageWidth + ValueWidth;

    QString Relative;
    QString Key;
    QString Text;
    QString Image;
    QString Value;

    // The record's 114 bytes.
    QByteArray encode() const;
    // The fields of one record, each exactly its width with its trailing blanks. Bytes missing at the end
    // read as blanks, bytes beyond the record are ignored.
    static PlcNodeRecord decode(QByteArrayView bytes);

    bool operator==(const PlcNodeRecord&) const = default;
};

// The file bytes of the records in order.
QByteArray encodePlcRecords(const std::vector<PlcNodeRecord>& records);

// A key or a text as the record fields hold it: padded with blanks or cut to the field's width. Nodes made
// from records (root, rungs, list nodes, loaded and received elements) carry these forms in the tree.
QString keyField(const QString& key);
QString textField(const QString& text);

} // namespace ladder
