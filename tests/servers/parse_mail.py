#!/usr/bin/python3
"""Prints, as JSON, what a mail client makes of a received message: the
decoded headers, the text body and every attachment (name, type, content in
base64), so that tests check the message the way a reader would see it."""

import base64
import email
import email.header
import email.policy
import json
import sys

with open(sys.argv[1], "rb") as f:
    message = email.message_from_binary_file(f, policy=email.policy.default)

result = {
    "header_names": [name.lower() for name in message.keys()],
    "from": str(message["From"]),
    "to": str(message["To"]),
    "subject": str(message["Subject"]),
    "body": None,
    "attachments": [],
    "defects": [str(d) for part in message.walk() for d in part.defects],
}
for part in message.walk():
    if part.is_multipart():
        continue
    if part.get_content_disposition() == "attachment":
        result["attachments"].append({
            "filename": part.get_filename(),
            # What a client that knows only RFC 2047 reads from name=.
            "name": str(email.header.make_header(
                email.header.decode_header(part.get_param("name")))),
            "content_type": part.get_content_type(),
            "content": base64.b64encode(part.get_payload(decode=True)).decode(),
        })
    elif result["body"] is None:
        result["body"] = part.get_content()
json.dump(result, sys.stdout)
