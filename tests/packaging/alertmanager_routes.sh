#!/bin/sh
# alertmanager_routes.sh ROUTE_FILE RULE_FILE: every alert the rule file defines reaches both
# the mail and the webhook receiver of the example route, and an alert of anything else
# reaches neither. Prints each alert that goes astray with where it went; silent when all hold.
set -u
route=$1
rules=$2
status=0
alerts=$(sed -n 's/^ *- alert: *\([A-Za-z0-9_]*\).*/\1/p' "$rules")
if [ -z "$alerts" ]; then
    echo "no alert in $rules"
    exit 1
fi
check() {
    expected=$1
    shift
    got=$(amtool config routes test --config.file="$route" "$@" 2>/dev/null)
    if [ "$got" != "$expected" ]; then
        echo "$* -> $got, not $expected"
        status=1
    fi
}
for alert in $alerts; do
    check q93-mail,q93-webhook alertname="$alert" site=Hilltop encoder=Tower
done
check default alertname=NodeDown site=Hilltop
exit $status
