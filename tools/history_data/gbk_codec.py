"""The one place where text becomes code page 936 bytes.

Everything the generator writes passes through encode_gbk, so that the
converter can be swapped (or cross-checked against the platform's own
wide-to-multibyte conversion) without touching the rest of the tool.
"""

CODEC = "cp936"


def encode_gbk(text):
    """GBK bytes of text; ValueError naming the first character without a
    GBK form, or one that does not come back unchanged."""
    try:
        data = text.encode(CODEC)
    except UnicodeEncodeError as error:
        bad = text[error.start]
        raise ValueError("character %r (U+%04X) has no GBK form"
                         % (bad, ord(bad))) from None
    if data.decode(CODEC) != text:
        raise ValueError("text does not survive the GBK round trip")
    return data


def decode_gbk(data):
    return data.decode(CODEC)
