#include "setup/Agreementtext.h"

namespace AgreementText {

using namespace Qt::Literals::StringLiterals;

QStringList English(const QString& name) {
    return {
        u"End-User License Agreement (EULA) for "_s + name + u":"_s,
        QString(),
        u"By installing, copying or otherwise using "_s + name
            + u", you agree to be bound by the terms of this agreement. If you do not agree to "
              "these terms, you must not install or use "_s + name + u"."_s,
        QString(),
        name + u" is freeware and may be used for personal, commercial, non-profit and educational "
               "purposes. It may be included on CD-ROM/DVD-ROM distributions. You may not charge "
               "anything for distributing it, on its own or as part of a compilation, nor use it "
               "to support a business. You may distribute it freely on any website or through any "
               "other channel, as long as nothing in it is changed."_s,
        QString(),
        u"Subject to the terms of this agreement, you are granted the right to install and use "
         "an unlimited number of copies of "_s + name + u"."_s,
        u"You may reproduce and distribute an unlimited number of copies of "_s + name
            + u", provided that each copy is a true and complete copy, including all legal and "
              "trademark notices, and is accompanied by a copy of this agreement. "_s + name
            + u" may be included in free or non-profit software packages and products."_s,
        QString(),
        u"You may not reverse engineer, decompile or disassemble "_s + name
            + u", except and only to the extent that applicable law expressly permits it."_s,
        QString(),
        u"The author may terminate this agreement if you fail to comply with its terms. In that "
         "case you must destroy all copies of "_s + name + u" in your possession."_s,
        QString(),
        u"No warranty of any kind is given for "_s + name + u". "_s + name
            + u" and its documentation are provided as they are, without any warranty, express "
              "or implied, including the implied warranties of merchantability and fitness for a "
              "particular purpose. The entire risk arising out of the use of "_s + name
            + u" remains with you."_s,
        QString(),
        u"In no event shall the author be liable for any special, consequential, incidental or "
         "indirect damages of any kind, including loss of data, loss of profits or interruption "
         "of business, arising out of the use of or the inability to use this software, even if "
         "the author has been advised of the possibility of such damages."_s,
    };
}

QStringList German(const QString& name) {
    return {
        u"Endbenutzerlizenzvereinbarung (EULA) für "_s + name + u":"_s,
        QString(),
        u"Indem Sie "_s + name
            + u" installieren, kopieren oder auf andere Weise verwenden, erklären Sie sich mit den "
              "Bestimmungen dieser Vereinbarung einverstanden. Wenn Sie diesen Bestimmungen nicht "
              "zustimmen, ist Ihnen die Installation und Verwendung von "_s + name
            + u" untersagt."_s,
        QString(),
        name + u" ist Freeware und darf für private, nicht kommerzielle Zwecke verwendet werden. "
               "Das Programm darf in CD-ROM/DVD-ROM-Distributionen aufgenommen werden. Für seine "
               "Weitergabe, allein oder als Teil einer Zusammenstellung, darf kein Entgelt "
               "verlangt werden, und es darf nicht der Förderung eines Geschäftsbetriebs dienen. "
               "Die kostenlose Weitergabe über jede Website und jeden anderen Weg ist erlaubt, "
               "solange nichts daran verändert wird."_s,
        QString(),
        u"Im Rahmen dieser Vereinbarung erhalten Sie das Recht, eine unbegrenzte Anzahl von "
         "Kopien von "_s + name + u" zu installieren und zu verwenden."_s,
        u"Sie dürfen eine unbegrenzte Anzahl von Kopien von "_s + name
            + u" vervielfältigen und weitergeben, sofern jede Kopie vollständig und unverändert "
              "ist, alle rechtlichen Hinweise und Markenhinweise enthält und von einer Kopie "
              "dieser Vereinbarung begleitet wird. "_s + name
            + u" darf in kostenlose oder gemeinnützige Softwarepakete und Produkte aufgenommen "
              "werden."_s,
        QString(),
        u"Sie dürfen "_s + name
            + u" weder zurückentwickeln noch dekompilieren oder disassemblieren, es sei denn, "
              "das geltende Recht erlaubt dies ausdrücklich."_s,
        QString(),
        u"Der Autor kann diese Vereinbarung kündigen, wenn Sie deren Bestimmungen nicht "
         "einhalten. In diesem Fall müssen Sie alle Kopien von "_s + name
            + u" vernichten, die sich in Ihrem Besitz befinden."_s,
        QString(),
        u"Der Autor übernimmt für "_s + name + u" keinerlei Gewährleistung. "_s + name
            + u" und die zugehörige Dokumentation werden so bereitgestellt, wie sie sind, ohne "
              "ausdrückliche oder stillschweigende Gewährleistung jeglicher Art, insbesondere ohne "
              "Gewähr für die Marktgängigkeit oder die Eignung für einen bestimmten Zweck."_s,
        u"Das gesamte Risiko, das sich aus der Verwendung von "_s + name
            + u" ergibt, verbleibt vollständig bei Ihnen als Anwenderin oder Anwender."_s,
        QString(),
        u"Der Autor haftet in keinem Fall für besondere, Folge-, Neben- oder mittelbare Schäden "
         "jeglicher Art, einschließlich Datenverlust, entgangenem Gewinn oder "
         "Betriebsunterbrechung, die aus der Verwendung oder der Unmöglichkeit der Verwendung "
         "dieser Software entstehen, selbst wenn der Autor auf die Möglichkeit solcher Schäden "
         "hingewiesen wurde."_s,
    };
}

}  // namespace AgreementText
